#pragma once

#include "forms/DrawnElements.h"
#include "training/Form1Services.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <utility>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

enum class ExerciseState { Idle, Choosing, Running };

// The main window. It owns the state of the running exercise in public fields, which the
// settings dialog and the keyboard window read and write directly.
class Form1 : public QWidget {
    Q_OBJECT

public:
    explicit Form1(Form1Services services, QWidget* parent = nullptr);
    ~Form1() override;

    // Exercise state.
    std::int16_t NiedrigsterTon = 0;
    std::int16_t HöchsterTon = 0;
    std::int16_t ZeitWeg = 0;    // milliseconds
    std::int16_t ZeitVorbei = 0; // hundredths of a second
    QString AusgewählterSchlüssel;
    std::int16_t Note = 0;
    std::int16_t Aufgabe = 0;
    std::int16_t fehler = 0;
    bool Gehörtraining = false;
    bool UebenMitKeyboard = false;

    // Controls.
    QPushButton* cmdViolin = nullptr;
    QPushButton* cmdBass = nullptr;
    QPushButton* cmdViolinGehör = nullptr;
    QPushButton* cmdBassGehör = nullptr;
    QPushButton* cmdÜbungAbbrechen = nullptr;
    QPushButton* cmdHilfe = nullptr;
    QPushButton* cmdInfo = nullptr;
    QPushButton* cmdEnde = nullptr;
    std::array<QPushButton*, 15> cmdNoteViolin{};
    std::array<QPushButton*, 15> cmdNoteBass{};
    QLabel* lblViolinschlüssel = nullptr;
    QLabel* lblBassschlüssel = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QTimer* tmrVorbei = nullptr;
    QTimer* tmrWeg = nullptr;
    QTimer* tmrNoteFalsch = nullptr;

    // Drawn elements, in twips.
    DrawnLine Line1, Line2, Line3, Line4, Line5;
    std::array<DrawnLine, 14> ZusatzLinie{};
    DrawnShape shpNote;
    DrawnShape shpNoteFalsch;

    QString NummerName(int index) const;
    void Start();
    ExerciseState state() const { return m_state; }
    const Form1Services& services() const { return m_services; }
    // True only the first time in a session: the learner is told once that times were not kept.
    bool firstUnsavedTimes() { return !std::exchange(m_unsavedTimesTold, true); }

    // Button handlers.
    void cmdViolin_Click();
    void cmdBass_Click();
    void cmdViolinGehör_Click();
    void cmdBassGehör_Click();
    void cmdÜbungAbbrechen_Click();
    void cmdHilfe_Click();
    void cmdInfo_Click();
    void cmdEnde_Click();
    void cmdNoteViolin_Click(std::int16_t Index);
    void cmdNoteBass_Click(std::int16_t Index);

    // Timer handlers.
    void tmrWeg_Timer();
    void tmrVorbei_Timer();
    void tmrNoteFalsch_Timer();
    // The time-per-note count after this many hundredths of the task; fed by tmrVorbei.
    void ZeitVergangen(std::int32_t hundredths);
    std::int32_t zeitZaehler() const { return ZeitZaehler; }

    // The keyboard window of an exercise practised with it: kept at the window's lower left
    // corner, its keys marked during the wrong-answer display, closed when the exercise ends.
    using KeyMarker = std::function<void(int index, std::uint32_t colour)>;
    void setKeyboardWindow(QWidget* keyboard, KeyMarker markKey);

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void LayoutAnwenden();
    void Form_Load();
    void ButtonsSperren();
    void ButtonsFreigeben();
    void NaechsteAufgabe();
    void NoteSpielen(std::int16_t note);
    void NoteFalschAnzeigen(std::int16_t gefragt, std::int16_t gewaehlt);
    void UebungBeenden(bool Abgebrochen);
    void showSettingsDialog();
    enum class Column { Asked, Chosen };
    void placeNote(DrawnShape& head, Column column, int step);
    void hideLedgerLines(int first, int last);
    void judgeAnswer(std::int16_t Index);
    void resetAnswerColours();
    void markKey(int index, std::uint32_t colour);
    void closeKeyboard();
    void keepKeyboardAtCorner();

    Form1Services m_services;
    ExerciseState m_state = ExerciseState::Idle;
    std::int32_t ZeitZaehler = 0;
    bool m_closeAllowed = false;
    bool m_unsavedTimesTold = false;
    bool m_taskOpen = false; // a task is shown and waits for its answer or time-out
    QElapsedTimer m_taskClock;
    QPointer<QWidget> m_keyboard;
    KeyMarker m_markKey;
};
