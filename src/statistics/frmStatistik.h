#pragma once

#include "history/HistoryReport.h"
#include "history/HistoryStore.h"
#include "statistics/ReportReader.h"

#include <QWidget>

class QChart;
class QComboBox;
class QLabel;
class QPushButton;

// The learner's record: which notes go wrong, how fast the answers come, how the exercises go
// over time. It reads the record itself, off its own thread, whenever it is shown and when told a
// task was recorded.
class frmStatistik : public QWidget {
    Q_OBJECT

public:
    explicit frmStatistik(const QString& historyFile, QWidget* parent = nullptr);

    QComboBox* cboSchluessel = nullptr;
    QComboBox* cboArt = nullptr;
    QComboBox* cboZeitraum = nullptr;
    QChart* chtNoten = nullptr;
    QChart* chtUebungen = nullptr;
    // Over each chart when it has nothing to show.
    QLabel* lblNotenLeer = nullptr;
    QLabel* lblUebungenLeer = nullptr;
    QLabel* lblVerwechslungen = nullptr;
    QLabel* lblSummen = nullptr;
    QPushButton* cmdCsv = nullptr;
    QPushButton* cmdLoeschen = nullptr;
    QPushButton* cmdSchliessen = nullptr;

    const HistoryReport& report() const { return m_report; }

public slots:
    void refresh();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void LayoutAnwenden();
    ReportFilter filter() const;
    void showReport(const HistoryReport& report);
    void showNotes();
    void showExercises();
    void showTexts();
    void cmdCsv_Click();
    void cmdLoeschen_Click();

    // For the learner's commands; the reports are read by m_reader.
    HistoryStore m_store;
    HistoryReport m_report;
    ReportReader m_reader;
};
