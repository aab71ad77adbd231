// Start-up, the mode and command buttons, and the keyboard window of an exercise.
#include "forms/Form1.h"

#include "keyboard/frmKeyboard.h"
#include "settings/SettingsStore.h"
#include "settings/frmEinstellungen.h"
#include "training/Exercise.h"
#include "widgets/WindowPlacement.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPushButton>

Form1::Form1(Exercise& exercise, Form1Services services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowMinimizeButtonHint),
      m_exercise(exercise), m_services(std::move(services)) {
    LayoutAnwenden();

    connect(cmdViolin, &QPushButton::clicked, this, &Form1::cmdViolin_Click);
    connect(cmdBass, &QPushButton::clicked, this, &Form1::cmdBass_Click);
    connect(cmdViolinGehör, &QPushButton::clicked, this, &Form1::cmdViolinGehör_Click);
    connect(cmdBassGehör, &QPushButton::clicked, this, &Form1::cmdBassGehör_Click);
    connect(cmdÜbungAbbrechen, &QPushButton::clicked, this, &Form1::cmdÜbungAbbrechen_Click);
    connect(cmdHilfe, &QPushButton::clicked, this, &Form1::cmdHilfe_Click);
    connect(cmdStatistik, &QPushButton::clicked, this, &Form1::cmdStatistik_Click);
    connect(cmdInfo, &QPushButton::clicked, this, &Form1::cmdInfo_Click);
    connect(cmdEnde, &QPushButton::clicked, this, &Form1::cmdEnde_Click);
    connect(cmdWeitereSchluessel, &QPushButton::clicked, this, &Form1::cmdWeitereSchluessel_Click);
    for (int i = 0; i < NoteCount; ++i) {
        const auto index = std::int16_t(i);
        connect(cmdNoteViolin[i], &QPushButton::clicked, this,
                [this, index] { cmdNoteViolin_Click(index); });
        connect(cmdNoteBass[i], &QPushButton::clicked, this,
                [this, index] { cmdNoteBass_Click(index); });
    }
    connectExercise();
    connectAccidentals();
    nameForScreenReaders();

    Form_Load();
    centreOnScreen(*this);
}

// A keyboard window still open has no owner of its own; it goes with the main window.
Form1::~Form1() {
    delete m_keyboard;
}

void Form1::Form_Load() {
    // The window has no close box; closeEvent refuses whatever close request still arrives.
    if (m_services.store)
        initialiseOnFirstStart(*m_services.store, m_services.programDir);
    readDisplaySetting();
}

void Form1::cmdViolin_Click() {
    showSettingsDialog(Clef::Violin, false);
}

void Form1::cmdBass_Click() {
    showSettingsDialog(Clef::Bass, false);
}

void Form1::cmdViolinGehör_Click() {
    showSettingsDialog(Clef::Violin, true);
}

void Form1::cmdBassGehör_Click() {
    showSettingsDialog(Clef::Bass, true);
}

// The dialog offers the clefs without a row of their own, starting from the one last chosen.
void Form1::cmdWeitereSchluessel_Click() {
    showSettingsDialog(Clef::Alto, false);
}

// The keyboard window of a keyboard start shows only once the dialog has closed.
void Form1::showSettingsDialog(Clef clef, bool earTraining) {
    if (!m_exercise.chooseMode(clef, earTraining))
        return;
    {
        frmEinstellungen dialog(
            m_exercise, {m_services.message, m_services.store, m_services.microphone}, this);
        m_services.runModal(dialog);
    }
    // Not every desktop gives the focus back to the owner of a closed dialog.
    activateWindow();
    m_exercise.cancelChoosing();
    if (m_exercise.state() == ExerciseState::Running && m_exercise.keyboardPractice())
        openKeyboard();
}

void Form1::cmdÜbungAbbrechen_Click() {
    m_exercise.abort();
}

void Form1::cmdNoteViolin_Click(std::int16_t Index) {
    answerWithButton(Clef::Violin, Index);
}

void Form1::cmdNoteBass_Click(std::int16_t Index) {
    answerWithButton(Clef::Bass, Index);
}

void Form1::cmdStatistik_Click() {
    if (m_services.openStatistics)
        m_services.openStatistics(this);
}

void Form1::cmdEnde_Click() {
    m_closeAllowed = true;
    close();
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

void Form1::closeEvent(QCloseEvent* event) {
    if (m_closeAllowed)
        event->accept();
    else
        event->ignore();
}

void Form1::ButtonsSperren() {
    enableModeButtons(false);
}

void Form1::ButtonsFreigeben() {
    enableModeButtons(true);
}

// The same seven buttons in the same order, and the one for more clefs; "Übung abbrechen" does
// the opposite of the others.
void Form1::enableModeButtons(bool enabled) {
    for (QPushButton* button :
         {cmdViolin, cmdBass, cmdViolinGehör, cmdBassGehör, cmdInfo, cmdEnde, cmdWeitereSchluessel})
        button->setEnabled(enabled);
    cmdÜbungAbbrechen->setEnabled(!enabled);
}

void Form1::openKeyboard() {
    auto* keyboard = new frmKeyboard(m_exercise);
    m_keyboard = keyboard;
    keepAbove(*keyboard, *this);
    placeAtLowerLeft(*keyboard, *this);
    keyboard->answerTypedWith([this](const QKeyEvent& event) { return answerWithKeyText(event); });
    keyboard->showInHighContrast(m_highContrast);
    keyboard->show();
    keyboard->Beschriften();
}

void Form1::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    keepKeyboardAtCorner();
}

void Form1::keepKeyboardAtCorner() {
    if (m_keyboard && m_keyboard->isVisible())
        placeAtLowerLeft(*m_keyboard, *this);
}
