#include "settings/frmEinstellungen.h"

#include "forms/TypingLimit.h"
#include "forms/WindowPlacement.h"
#include "keyboard/frmKeyboard.h"
#include "settings/RangeRule.h"
#include "settings/SettingsStore.h"
#include "settings/TimeText.h"
#include "training/Form1.h"
#include "training/NoteModel.h"

#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

namespace {

const QString Section = QStringLiteral("Einstellungen");
const QString ErrorTitle = QStringLiteral("Fehler");

QString invalidTimeMessage(const QString& field, const QString& text, int maxSeconds) {
    const QString shown = text.size() > 20 ? text.left(20) + QStringLiteral("…") : text;
    return QStringLiteral("„%1“ ist bei „%2“ keine gültige Zeit.\nBitte eine Zahl von 0 bis %3 "
                          "Sekunden eingeben.")
        .arg(shown, field, QString::number(maxSeconds));
}

// Said once a session: a folder that cannot be written stays so until someone mends it.
QString unsavedTimesMessage(const QString& file) {
    return QStringLiteral("Die Zeiten konnten nicht gespeichert werden, weil die Datei „%1“ nicht "
                          "beschrieben werden kann.\nDie Übung läuft mit den eingegebenen Zeiten.")
        .arg(QDir::toNativeSeparators(file));
}

} // namespace

frmEinstellungen::frmEinstellungen(Form1& form)
    : QDialog(&form, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                         Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_form(form) {
    LayoutAnwenden();
    limitTypingToOneCharacter(txtZeitVorbei);
    limitTypingToOneCharacter(txtZeitWeg);
    connect(cmdOk, &QPushButton::clicked, this, &frmEinstellungen::cmdOk_Click);
    connect(cmdKeyboard, &QPushButton::clicked, this, &frmEinstellungen::cmdKeyboard_Click);
    connect(cmdAbbrechen, &QPushButton::clicked, this, &frmEinstellungen::cmdAbbrechen_Click);
    Form_Load();
    centreOnWindow(*this, form);
}

void frmEinstellungen::Form_Load() {
    if (m_form.AusgewählterSchlüssel == ClefBass)
        frmBass->setEnabled(true);
    else if (m_form.AusgewählterSchlüssel == ClefViolin)
        frmViolin->setEnabled(true);

    if (SettingsStore* store = m_form.services().store) {
        const QString zeitWeg = store->GetSetting(Section, QStringLiteral("Zeitweg"));
        if (!zeitWeg.isEmpty())
            txtZeitWeg->setText(zeitWeg);
        const QString zeitVorbei = store->GetSetting(Section, QStringLiteral("Zeitvorbei"));
        if (!zeitVorbei.isEmpty())
            txtZeitVorbei->setText(zeitVorbei);
    }
}

void frmEinstellungen::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    txtZeitVorbei->setFocus();
}

void frmEinstellungen::cmdOk_Click() {
    if (startExercise())
        accept();
}

void frmEinstellungen::cmdKeyboard_Click() {
    m_form.UebenMitKeyboard = true;
    if (!startExercise()) {
        m_form.UebenMitKeyboard = false;
        return;
    }
    // An abort while the first note sounded has ended the exercise and its keyboard practice.
    if (m_form.state() != ExerciseState::Running) {
        accept();
        return;
    }
    auto* keyboard = new frmKeyboard(m_form);
    // The window deletes itself when its close box is used; later markings must not reach it.
    m_form.setKeyboardWindow(keyboard,
                             [target = QPointer(keyboard)](int note, std::uint32_t colour) {
                                 if (target)
                                     target->Markieren(note, colour);
                             });
    keyboard->show();
    keyboard->Beschriften();
    accept();
}

void frmEinstellungen::cmdAbbrechen_Click() {
    reject();
}

void frmEinstellungen::refuse(const QString& text) {
    m_form.services().message(this, text, ErrorTitle, MessageIcon::Warning);
}

bool frmEinstellungen::startExercise() {
    const bool bass = m_form.AusgewählterSchlüssel == ClefBass;
    const auto& boxes = bass ? chkTonBass : chkTonViolin;
    std::array<bool, 15> ticked{};
    for (int i = 0; i < NoteCount; ++i)
        ticked[i] = boxes[i]->isChecked();
    const auto range = rangeFromTicks(ticked, m_form.AusgewählterSchlüssel);
    if (const QString* message = std::get_if<QString>(&range)) {
        refuse(*message);
        return false;
    }

    // A time that is no number or does not fit would wreck the exercise: refuse it before
    // anything is saved.
    const std::optional<std::int16_t> zeitWeg = convertTimeText(txtZeitWeg->text(), 1000);
    if (!zeitWeg) {
        refuse(
            invalidTimeMessage(QStringLiteral("Note verschwindet nach"), txtZeitWeg->text(), 32));
        return false;
    }
    const std::optional<std::int16_t> zeitVorbei = convertTimeText(txtZeitVorbei->text(), 100);
    if (!zeitVorbei) {
        refuse(invalidTimeMessage(QStringLiteral("Zeit pro Note"), txtZeitVorbei->text(), 327));
        return false;
    }

    if (SettingsStore* store = m_form.services().store) {
        const bool savedWeg =
            store->SaveSetting(Section, QStringLiteral("Zeitweg"), txtZeitWeg->text());
        const bool savedVorbei =
            store->SaveSetting(Section, QStringLiteral("Zeitvorbei"), txtZeitVorbei->text());
        if (!(savedWeg && savedVorbei) && m_form.firstUnsavedTimes())
            m_form.services().message(this, unsavedTimesMessage(store->fileName()),
                                      QStringLiteral("Hinweis"), MessageIcon::Information);
    }
    const NoteRange noteRange = std::get<NoteRange>(range);
    m_form.NiedrigsterTon = std::int16_t(noteRange.lowest);
    m_form.HöchsterTon = std::int16_t(noteRange.highest);
    m_form.ZeitWeg = *zeitWeg;
    m_form.ZeitVorbei = *zeitVorbei;
    m_form.Start();
    return true;
}
