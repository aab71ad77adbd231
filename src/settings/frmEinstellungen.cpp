#include "settings/frmEinstellungen.h"

#include "settings/DisplaySettings.h"
#include "settings/PhraseSettings.h"
#include "settings/SettingsStore.h"
#include "settings/TypingSettings.h"
#include "training/ClefTable.h"
#include "training/Exercise.h"
#include "training/NoteModel.h"
#include "training/RangeRule.h"
#include "training/TimeText.h"
#include "widgets/ScreenFit.h"
#include "widgets/TypingLimit.h"
#include "widgets/WindowPlacement.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString Section = QStringLiteral("Einstellungen");
const QString WeakNotesKey = QStringLiteral("SchwacheNotenOefter");

QString invalidTimeMessage(const QString& field, const QString& text, int maxSeconds) {
    const QString shown = text.size() > 20 ? text.left(20) + QStringLiteral("…") : text;
    return QCoreApplication::translate(
               "frmEinstellungen",
               "„%1“ ist bei „%2“ keine gültige Zeit.\nBitte eine Zahl von 0 bis %3 "
               "Sekunden eingeben.")
        .arg(shown, field, QString::number(maxSeconds));
}

// Said once a session: a folder that cannot be written stays so until someone mends it.
QString unsavedTimesMessage(const QString& file) {
    return QCoreApplication::translate(
               "frmEinstellungen",
               "Die Zeiten konnten nicht gespeichert werden, weil die Datei „%1“ nicht "
               "beschrieben werden kann.\nDie Übung läuft mit den eingegebenen Zeiten.")
        .arg(QDir::toNativeSeparators(file));
}

} // namespace

frmEinstellungen::frmEinstellungen(Exercise& exercise, SettingsServices services, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                         Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_exercise(exercise), m_services(std::move(services)) {
    LayoutAnwenden();
    limitTypingToOneCharacter(txtZeitVorbei);
    limitTypingToOneCharacter(txtZeitWeg);
    connect(cmdOk, &QPushButton::clicked, this, &frmEinstellungen::cmdOk_Click);
    connect(cmdKeyboard, &QPushButton::clicked, this, &frmEinstellungen::cmdKeyboard_Click);
    connect(cmdAbbrechen, &QPushButton::clicked, this, &frmEinstellungen::cmdAbbrechen_Click);
    connect(chkMikrofon, &QCheckBox::toggled, this, &frmEinstellungen::chkMikrofon_Click);
    connect(cboSprache, &QComboBox::activated, this, &frmEinstellungen::cboSprache_Click);
    connect(cboNotennamen, &QComboBox::activated, this, &frmEinstellungen::cboNotennamen_Click);
    connect(cboOktaven, &QComboBox::activated, this, &frmEinstellungen::cboOktaven_Click);
    Form_Load();
    scrollWhereScreenIsSmaller(*this, owner);
    if (owner)
        centreOnWindow(*this, *owner);
}

void frmEinstellungen::Form_Load() {
    if (m_exercise.clef() == Clef::Bass)
        frmBass->setEnabled(true);
    else if (m_exercise.clef() == Clef::Violin)
        frmViolin->setEnabled(true);
    else if (const ClefRow* row = clefRow(m_exercise.clef()); row && !row->ownButtonRow)
        WeitereSchluesselAnzeigen();

    if (SettingsStore* store = m_services.store) {
        const QString zeitWeg = store->GetSetting(Section, QStringLiteral("Zeitweg"));
        if (!zeitWeg.isEmpty())
            txtZeitWeg->setText(zeitWeg);
        const QString zeitVorbei = store->GetSetting(Section, QStringLiteral("Zeitvorbei"));
        if (!zeitVorbei.isEmpty())
            txtZeitVorbei->setText(zeitVorbei);
        chkSchwacheNoten->setChecked(store->GetSetting(Section, WeakNotesKey) ==
                                     QStringLiteral("1"));
        chkHoherKontrast->setChecked(readHighContrast(*store));
        chkOktaveTippen->setChecked(readTypeOctave(*store));
    }
    MikrofonLaden();
    SpracheLaden();
    TonartLaden();
    PhrasenLaden();
}

void frmEinstellungen::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    txtZeitVorbei->setFocus();
}

// With no default button, Return presses only the button that has the focus.
void frmEinstellungen::keyPressEvent(QKeyEvent* event) {
    auto* focused = qobject_cast<QPushButton*>(focusWidget());
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && focused && event->modifiers() == Qt::NoModifier)
        focused->click();
    else
        QDialog::keyPressEvent(event);
}

void frmEinstellungen::cmdOk_Click() {
    if (startExercise(false))
        accept();
}

// The main window opens the keyboard window once this dialog has closed.
void frmEinstellungen::cmdKeyboard_Click() {
    if (startExercise(true))
        accept();
}

void frmEinstellungen::cmdAbbrechen_Click() {
    reject();
}

void frmEinstellungen::refuse(const QString& text) {
    m_services.message(this, text, tr("Fehler"), MessageIcon::Warning);
}

bool frmEinstellungen::startExercise(bool withKeyboard) {
    const auto& boxes = rangeBoxesOfClef();
    std::array<bool, NoteCount> ticked{};
    for (int i = 0; i < NoteCount; ++i)
        ticked[i] = boxes[i]->isChecked();
    const auto range = rangeFromTicks(ticked, m_exercise.clef());
    if (const QString* message = std::get_if<QString>(&range)) {
        refuse(*message);
        return false;
    }

    // A time that is no number or does not fit would wreck the exercise: refuse it before
    // anything is saved.
    const std::optional<std::int16_t> zeitWeg = convertTimeText(txtZeitWeg->text(), 1000);
    if (!zeitWeg) {
        refuse(invalidTimeMessage(tr("Note verschwindet nach"), txtZeitWeg->text(), 32));
        return false;
    }
    const std::optional<std::int16_t> zeitVorbei = convertTimeText(txtZeitVorbei->text(), 100);
    if (!zeitVorbei) {
        refuse(invalidTimeMessage(tr("Zeit pro Note"), txtZeitVorbei->text(), 327));
        return false;
    }

    if (SettingsStore* store = m_services.store) {
        const bool savedWeg =
            store->SaveSetting(Section, QStringLiteral("Zeitweg"), txtZeitWeg->text());
        const bool savedVorbei =
            store->SaveSetting(Section, QStringLiteral("Zeitvorbei"), txtZeitVorbei->text());
        const bool savedWeak = store->SaveSetting(
            Section, WeakNotesKey,
            chkSchwacheNoten->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
        const bool savedKey = !m_keysVisible || saveKeySettings(*store, TonartGewaehlt());
        const bool savedNotes = saveNotesPerTask(*store, NotenProAufgabe());
        const bool savedContrast = saveHighContrast(*store, chkHoherKontrast->isChecked());
        const bool savedTyping = saveTypeOctave(*store, chkOktaveTippen->isChecked());
        if (!(savedWeg && savedVorbei && savedWeak && savedKey && savedNotes && savedTyping &&
              savedContrast) &&
            store->firstFailedSave())
            m_services.message(this, unsavedTimesMessage(store->fileName()), tr("Hinweis"),
                               MessageIcon::Information);
    }
    MikrofonSpeichern();
    // The exercise opens the device for itself; one that takes a single client would refuse it.
    m_levelWatch.reset();
    const NoteRange noteRange = std::get<NoteRange>(range);
    if (frmWeitere)
        WeitereSchluesselSpeichern(noteRange.lowest, noteRange.highest);
    const KeySettings key = TonartGewaehlt();
    m_exercise.Start({std::int16_t(noteRange.lowest), std::int16_t(noteRange.highest), *zeitWeg,
                      *zeitVorbei, withKeyboard, chkSchwacheNoten->isChecked(), key.key.fifths,
                      key.eachExercise, key.mostAccidentals, key.accidentals, NotenProAufgabe()});
    return true;
}
