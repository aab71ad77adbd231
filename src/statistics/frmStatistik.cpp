#include "statistics/frmStatistik.h"

#include "history/CsvExport.h"
#include "training/NoteModel.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QShortcut>

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
    : QWidget(parent, Qt::Window), m_store(historyFile, HistoryStore::Check::Trusted) {
    LayoutAnwenden();
    for (QComboBox* box : {cboSchluessel, cboArt, cboZeitraum})
        connect(box, &QComboBox::currentIndexChanged, this, &frmStatistik::refresh);
    connect(cmdCsv, &QPushButton::clicked, this, &frmStatistik::cmdCsv_Click);
    connect(cmdLoeschen, &QPushButton::clicked, this, &frmStatistik::cmdLoeschen_Click);
    connect(cmdSchliessen, &QPushButton::clicked, this, &QWidget::close);
    // Esc closes it as it closes the help window.
    connect(new QShortcut(QKeySequence::Cancel, this), &QShortcut::activated, this,
            &QWidget::close);
    m_store.open();
    refresh();
}

ReportFilter frmStatistik::filter() const {
    ReportFilter f;
    f.clef = cboSchluessel->currentIndex() == 1 ? Clef::Bass : Clef::Violin;
    f.mode = std::array{ModeFilter::Reading, ModeFilter::EarTraining,
                        ModeFilter::Both}[std::size_t(cboArt->currentIndex())];
    if (cboZeitraum->currentIndex() < 2)
        f.since = QDateTime::currentDateTime().addDays(cboZeitraum->currentIndex() == 0 ? -7 : -30);
    return f;
}

void frmStatistik::refresh() {
    m_report = readReport(m_store.database(), filter());
    showNotes();
    showExercises();
    showTexts();
}

void frmStatistik::showTexts() {
    const Clef clef = filter().clef;
    QStringList lines = {tr("Häufigste Verwechslungen:")};
    for (const Confusion& c : m_report.confusions.mid(0, ConfusionLines))
        lines.append(tr("%1 statt %2: %3 ×")
                         .arg(noteName(clef, c.chosen), noteName(clef, c.asked))
                         .arg(c.count));
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
    if (file.isEmpty())
        return;
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || !writeCsv(m_store.database(), out) || !out.commit())
        QMessageBox::warning(
            this, tr("Fehler"),
            tr("„%1“ konnte nicht gespeichert werden.").arg(QDir::toNativeSeparators(file)));
}

void frmStatistik::cmdLoeschen_Click() {
    const auto answer = QMessageBox::question(
        this, tr("Verlauf löschen"),
        tr("Den ganzen Übungsverlauf löschen?\nDie Einstellungen bleiben erhalten."),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    if (!m_store.clear())
        QMessageBox::warning(this, tr("Fehler"), tr("Der Verlauf konnte nicht gelöscht werden."));
    refresh();
}
