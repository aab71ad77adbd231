#include "statistics/frmStatistik.h"

#include "training/ClefTable.h"
#include "training/KeyNaming.h"
#include "training/NoteNaming.h"

#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QShowEvent>
#include <QSignalBlocker>

#include <algorithm>

namespace {

constexpr int ConfusionLines = 5;

QString duration(qint64 ms) {
    const qint64 minutes = (ms + 30'000) / 60'000;
    if (minutes < 60)
        return frmStatistik::tr("%1 min").arg(minutes);
    return frmStatistik::tr("%1 h %2 min")
        .arg(minutes / 60)
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

frmStatistik::frmStatistik(const QString& historyFile, QWidget* parent)
    : QWidget(parent, Qt::Window), m_historyFile(historyFile),
      m_reader(historyFile, [this](const HistoryReport& report, const QString& problem) {
          showReport(report, problem);
      }) {
    LayoutAnwenden();
    for (QComboBox* box : {cboSchluessel, cboArt, cboZeitraum, cboTonart, cboPhrasen})
        connect(box, &QComboBox::currentIndexChanged, this, &frmStatistik::refresh);
    connect(cmdCsv, &QPushButton::clicked, this, &frmStatistik::cmdCsv_Click);
    connect(cmdCsvAbbrechen, &QPushButton::clicked, this, [this] { m_reader.cancelCsv(); });
    connect(cmdLoeschen, &QPushButton::clicked, this, &frmStatistik::cmdLoeschen_Click);
    connect(cmdSchliessen, &QPushButton::clicked, this, &QWidget::close);
    // Esc closes it as it closes the help window.
    connect(new QShortcut(QKeySequence::Cancel, this), &QShortcut::activated, this,
            &QWidget::close);
}

ReportFilter frmStatistik::filter() const {
    ReportFilter f;
    f.clef = clefTable()[std::size_t(std::max(0, cboSchluessel->currentIndex()))].clef;
    f.mode = std::array{ModeFilter::Reading, ModeFilter::EarTraining,
                        ModeFilter::Both}[std::size_t(cboArt->currentIndex())];
    if (cboZeitraum->currentIndex() < 2)
        f.since = QDateTime::currentDateTime().addDays(cboZeitraum->currentIndex() == 0 ? -7 : -30);
    if (cboTonart->currentIndex() > 0)
        f.key = KeySignature{cboTonart->currentData().toInt()};
    f.phrases = std::array{PhraseFilter::Both, PhraseFilter::SingleNotes,
                           PhraseFilter::Phrases}[std::size_t(cboPhrasen->currentIndex())];
    return f;
}

// The keys of the record to choose from, the one chosen kept; with C major alone, as before
// there were keys, no choice at all.
void frmStatistik::showKeys() {
    QList<KeySignature> keys = m_report.keys;
    const std::optional<KeySignature> chosen = filter().key;
    if (chosen && !keys.contains(*chosen))
        keys.append(*chosen);
    const QSignalBlocker quiet(cboTonart);
    cboTonart->clear();
    cboTonart->addItem(tr("Alle Tonarten"));
    for (const KeySignature key : keys)
        cboTonart->addItem(keyName(key), key.fifths);
    if (chosen)
        cboTonart->setCurrentIndex(cboTonart->findData(chosen->fifths));
    const bool shown =
        std::any_of(keys.begin(), keys.end(), [](KeySignature key) { return key.fifths != 0; });
    cboTonart->setVisible(shown);
    lblTonart->setVisible(shown);
}

// Offered once the record holds phrases, as before them there was nothing to choose; a choice
// made stays offered.
void frmStatistik::showPhraseChoice() {
    const bool shown = m_report.hasPhrases || cboPhrasen->currentIndex() > 0;
    cboPhrasen->setVisible(shown);
    lblPhrasen->setVisible(shown);
}

void frmStatistik::refresh() {
    m_reader.read(filter());
}

// A hidden window is not kept up to date: it reads when it shows again.
void frmStatistik::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        refresh();
}

void frmStatistik::showReport(const HistoryReport& report, const QString& problem) {
    m_report = report;
    m_problem = problem;
    showKeys();
    showPhraseChoice();
    showNotes();
    showExercises();
    showTexts();
    showProblem();
}

// A record that cannot be read is said to be so, not drawn as an empty one.
void frmStatistik::showProblem() {
    const QString& problem = m_problem;
    lblProblem->setText(problem);
    lblProblem->setVisible(!problem.isEmpty());
    for (QWidget* shown : findChildren<QChartView*>())
        shown->setVisible(problem.isEmpty());
    for (QWidget* shown : {lblVerwechslungen, lblSummen})
        shown->setVisible(problem.isEmpty());
    cmdCsv->setEnabled(problem.isEmpty() && !prgCsv->isVisible());
}

void frmStatistik::showTexts() {
    QStringList lines = {tr("Häufigste Verwechslungen:")};
    for (const Confusion& c : m_report.confusions.mid(0, ConfusionLines))
        lines.append(
            tr("%1 statt %2: %3 ×").arg(noteName(c.chosen), noteName(c.asked)).arg(c.count));
    if (m_report.confusions.isEmpty())
        lines.append(tr("keine"));
    lblVerwechslungen->setText(lines.join(u'\n'));
    lblSummen->setText(tr("Übungen: %1\nAufgaben: %2 (falsch: %3, Zeit abgelaufen: "
                          "%4)\nÜbungszeit: %5")
                           .arg(m_report.exercises)
                           .arg(m_report.tasks)
                           .arg(m_report.wrong)
                           .arg(m_report.timedOut)
                           .arg(duration(m_report.practiceMs)));
}

void frmStatistik::cmdCsv_Click() {
    const QString file = QFileDialog::getSaveFileName(this, tr("Als CSV speichern"),
                                                      QDir::home().filePath(tr("Verlauf.csv")),
                                                      tr("CSV-Dateien (*.csv)"));
    if (!file.isEmpty())
        saveCsvAs(file);
}

void frmStatistik::saveCsvAs(const QString& file) {
    cmdCsv->setEnabled(false);
    prgCsv->setValue(0);
    prgCsv->show();
    cmdCsvAbbrechen->show();
    m_reader.saveCsv(
        file, [this](double share) { prgCsv->setValue(int(share * prgCsv->maximum())); },
        [this](const QString& problem) { csvSaved(problem); });
}

void frmStatistik::csvSaved(const QString& problem) {
    prgCsv->hide();
    cmdCsvAbbrechen->hide();
    cmdCsv->setEnabled(m_problem.isEmpty());
    emit csvFinished();
    if (!problem.isEmpty())
        QMessageBox::warning(this, tr("Fehler"), problem);
}

void frmStatistik::cmdLoeschen_Click() {
    const auto answer = QMessageBox::question(
        this, tr("Verlauf löschen"),
        tr("Den ganzen Übungsverlauf löschen?\nDie Einstellungen bleiben erhalten."),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer == QMessageBox::Yes)
        clearRecord();
}

void frmStatistik::clearRecord() {
    cmdLoeschen->setEnabled(false);
    m_reader.clear([this](HistoryStore::Cleared cleared) { recordCleared(cleared); });
}

void frmStatistik::recordCleared(HistoryStore::Cleared cleared) {
    cmdLoeschen->setEnabled(true);
    const QString shown = QDir::toNativeSeparators(m_historyFile);
    if (cleared == HistoryStore::Cleared::Busy)
        QMessageBox::warning(this, tr("Fehler"),
                             tr("Der Übungsverlauf „%1“ wird gerade von einem anderen Programm "
                                "benutzt und wurde nicht gelöscht. Bitte später noch einmal "
                                "versuchen.")
                                 .arg(shown));
    else if (cleared == HistoryStore::Cleared::Failed)
        QMessageBox::warning(this, tr("Fehler"),
                             tr("Der Übungsverlauf „%1“ kann nicht geändert werden und wurde "
                                "nicht gelöscht.")
                                 .arg(shown));
    refresh();
}
