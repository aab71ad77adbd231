#pragma once

#include "history/HistoryReport.h"
#include "history/HistoryStore.h"
#include "statistics/ReportReader.h"

#include <QWidget>

class QChart;
class QComboBox;
class QLabel;
class QProgressBar;
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
    QComboBox* cboTonart = nullptr; // shown once the record holds a key with signs
    QLabel* lblTonart = nullptr;
    QComboBox* cboPhrasen = nullptr; // shown once the record holds phrases
    QLabel* lblPhrasen = nullptr;
    QChart* chtNoten = nullptr;
    QChart* chtUebungen = nullptr;
    // Over each chart when it has nothing to show.
    QLabel* lblNotenLeer = nullptr;
    QLabel* lblUebungenLeer = nullptr;
    QLabel* lblVerwechslungen = nullptr;
    QLabel* lblSummen = nullptr;
    QLabel* lblProblem = nullptr; // why the record cannot be read, instead of the rest
    QPushButton* cmdCsv = nullptr;
    QProgressBar* prgCsv = nullptr;         // shown while the CSV is saved
    QPushButton* cmdCsvAbbrechen = nullptr; // likewise
    QPushButton* cmdLoeschen = nullptr;
    QPushButton* cmdSchliessen = nullptr;

    const HistoryReport& report() const { return m_report; }

public slots:
    void refresh();
    // Saves the record as CSV off the window's thread, showing how far it is meanwhile.
    void saveCsvAs(const QString& file);
    // Deletes the whole record off the window's thread; says so if it cannot.
    void clearRecord();

signals:
    // The CSV is saved, failed (the learner is told) or was cancelled.
    void csvFinished();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void LayoutAnwenden();
    ReportFilter filter() const;
    void showReport(const HistoryReport& report, const QString& problem);
    void showKeys();
    void showPhraseChoice();
    void showNotes();
    void showExercises();
    void showTexts();
    void showProblem();
    void cmdCsv_Click();
    void csvSaved(const QString& problem);
    void cmdLoeschen_Click();
    void recordCleared(HistoryStore::Cleared cleared);

    QString m_historyFile;
    QString m_problem; // why the record cannot be read; empty when it can
    HistoryReport m_report;
    ReportReader m_reader;
};
