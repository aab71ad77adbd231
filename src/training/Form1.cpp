// Start-up, the mode and command buttons, and the start of an exercise.
#include "training/Form1.h"

#include "forms/WindowPlacement.h"
#include "settings/SettingsStore.h"
#include "settings/frmEinstellungen.h"
#include "training/NoteModel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

Form1::Form1(Form1Services services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowMinimizeButtonHint),
      m_services(std::move(services)) {
    LayoutAnwenden();

    connect(cmdViolin, &QPushButton::clicked, this, &Form1::cmdViolin_Click);
    connect(cmdBass, &QPushButton::clicked, this, &Form1::cmdBass_Click);
    connect(cmdViolinGehör, &QPushButton::clicked, this, &Form1::cmdViolinGehör_Click);
    connect(cmdBassGehör, &QPushButton::clicked, this, &Form1::cmdBassGehör_Click);
    connect(cmdÜbungAbbrechen, &QPushButton::clicked, this, &Form1::cmdÜbungAbbrechen_Click);
    connect(cmdHilfe, &QPushButton::clicked, this, &Form1::cmdHilfe_Click);
    connect(cmdInfo, &QPushButton::clicked, this, &Form1::cmdInfo_Click);
    connect(cmdEnde, &QPushButton::clicked, this, &Form1::cmdEnde_Click);
    for (int i = 0; i < NoteCount; ++i) {
        const auto index = std::int16_t(i);
        connect(cmdNoteViolin[i], &QPushButton::clicked, this,
                [this, index] { cmdNoteViolin_Click(index); });
        connect(cmdNoteBass[i], &QPushButton::clicked, this,
                [this, index] { cmdNoteBass_Click(index); });
    }
    connect(tmrWeg, &QTimer::timeout, this, &Form1::tmrWeg_Timer);
    connect(tmrVorbei, &QTimer::timeout, this, &Form1::tmrVorbei_Timer);
    connect(tmrNoteFalsch, &QTimer::timeout, this, &Form1::tmrNoteFalsch_Timer);

    Form_Load();
    centreOnScreen(*this);
}

// A keyboard window still open has no owner of its own; it goes with the main window.
Form1::~Form1() {
    delete m_keyboard;
}

void Form1::Form_Load() {
    // The window has no close box; closeEvent refuses whatever close request still arrives.
    UebenMitKeyboard = false;
    if (m_services.store)
        initialiseOnFirstStart(*m_services.store, m_services.programDir);
}

QString Form1::NummerName(int index) const {
    return noteName(AusgewählterSchlüssel, index);
}

void Form1::cmdViolin_Click() {
    AusgewählterSchlüssel = ClefViolin;
    showSettingsDialog();
}

void Form1::cmdBass_Click() {
    AusgewählterSchlüssel = ClefBass;
    showSettingsDialog();
}

void Form1::cmdViolinGehör_Click() {
    AusgewählterSchlüssel = ClefViolin;
    Gehörtraining = true;
    showSettingsDialog();
}

void Form1::cmdBassGehör_Click() {
    AusgewählterSchlüssel = ClefBass;
    Gehörtraining = true;
    showSettingsDialog();
}

void Form1::showSettingsDialog() {
    if (m_state != ExerciseState::Idle)
        return;
    m_state = ExerciseState::Choosing;
    {
        frmEinstellungen dialog(*this);
        m_services.runModal(dialog);
    }
    if (m_state == ExerciseState::Choosing)
        m_state = ExerciseState::Idle;
}

void Form1::cmdÜbungAbbrechen_Click() {
    if (m_state == ExerciseState::Running)
        UebungBeenden(true);
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

void Form1::Start() {
    Aufgabe = 0;
    fehler = 0;
    m_state = ExerciseState::Running;
    ButtonsSperren();
    if (AusgewählterSchlüssel == ClefBass) {
        for (QPushButton* b : cmdNoteBass)
            b->setEnabled(true);
    } else if (AusgewählterSchlüssel == ClefViolin) {
        for (QPushButton* b : cmdNoteViolin)
            b->setEnabled(true);
    }
    tmrWeg->setInterval(ZeitWeg);
    // A bar with minimum = maximum turns into a busy indicator: without a time limit it stays
    // empty.
    ProgressBar1->setRange(0, ZeitVorbei > 0 ? ZeitVorbei : 1);
    NaechsteAufgabe();
}

void Form1::ButtonsSperren() {
    cmdViolin->setEnabled(false);
    cmdBass->setEnabled(false);
    cmdViolinGehör->setEnabled(false);
    cmdBassGehör->setEnabled(false);
    cmdInfo->setEnabled(false);
    cmdEnde->setEnabled(false);
    cmdÜbungAbbrechen->setEnabled(true);
}

void Form1::ButtonsFreigeben() {
    cmdViolin->setEnabled(true);
    cmdBass->setEnabled(true);
    cmdViolinGehör->setEnabled(true);
    cmdBassGehör->setEnabled(true);
    cmdInfo->setEnabled(true);
    cmdEnde->setEnabled(true);
    cmdÜbungAbbrechen->setEnabled(false);
}

void Form1::setKeyboardWindow(QWidget* keyboard, KeyMarker markKey) {
    m_keyboard = keyboard;
    m_markKey = std::move(markKey);
    keepAbove(*keyboard, *this);
    placeAtLowerLeft(*keyboard, *this);
}

void Form1::closeKeyboard() {
    if (m_keyboard)
        m_keyboard->close();
    m_keyboard = nullptr;
    m_markKey = nullptr;
}

void Form1::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    keepKeyboardAtCorner();
}

void Form1::keepKeyboardAtCorner() {
    if (m_keyboard && m_keyboard->isVisible())
        placeAtLowerLeft(*m_keyboard, *this);
}
