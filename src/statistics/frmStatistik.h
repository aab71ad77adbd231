#pragma once

#include "history/HistoryReader.h"
#include "history/HistoryReport.h"
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
    QLabel* lblProblem = nullptr; // why the record cannot be read, instead of the rest
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
    void showReport(const HistoryReport& report, const QString& problem);
    void showNotes();
    void showExercises();
    void showTexts();
    void showProblem();
    void cmdCsv_Click();
    void cmdLoeschen_Click();

    QString m_historyFile;
    QString m_problem; // why the record cannot be read; empty when it can
    HistoryReport m_report;
    ReportReader m_reader;
};
