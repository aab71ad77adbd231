#pragma once

#include "training/Clef.h"
#include "training/ExerciseServices.h"
#include "training/ExerciseSettings.h"
#include "training/MistakeNaming.h"
#include "training/TaskOutcome.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

class QTimer;

enum class ExerciseState { Idle, Choosing, Running };

// One exercise of its tasks, apart from any window: its state, its three timers and its routines.
// Every way of answering calls answer() or answerFromInstrument(); the windows show what the
// signals tell them, which come in the order of each routine's steps.
class Exercise : public QObject {
    Q_OBJECT

public:
    explicit Exercise(ExerciseServices services, QObject* parent = nullptr);

    // A mode button: sets the clef, and with ear training the flag, while the settings dialog is
    // open. False when an exercise is under way.
    bool chooseMode(Clef clef, bool earTraining);
    // The settings dialog changed the clef and ear training while choosing; false otherwise.
    bool chooseAgain(Clef clef, bool earTraining);
    // The settings dialog closed without starting: the ear-training flag goes with it.
    void cancelChoosing();
    void Start(const ExerciseSettings& settings);
    // A note index chosen by any input; only an open task takes it.
    void answer(int index, AnswerInput input = AnswerInput::Buttons);
    // A note index played on an instrument (a MIDI keyboard, a microphone). One played while the
    // task's note sounds is held and given to the task when it opens, the last one counting;
    // otherwise it is an answer() like any other.
    void answerFromInstrument(int index, AnswerInput input = AnswerInput::Midi);
    // "Übung abbrechen".
    void abort();

    // Timer handlers; tests call them instead of waiting.
    void tmrWeg_Timer();
    void tmrVorbei_Timer();
    void tmrNoteFalsch_Timer();
    // The time-per-note count after this many hundredths of the task; fed by tmrVorbei.
    void ZeitVergangen(std::int32_t hundredths);

    ExerciseState state() const { return m_state; }
    Clef clef() const { return AusgewählterSchlüssel; }
    QString NummerName(int index) const;
    bool earTraining() const { return Gehörtraining; }
    bool keyboardPractice() const { return UebenMitKeyboard; }
    int lowest() const { return NiedrigsterTon; }
    int highest() const { return HöchsterTon; }
    int zeitWeg() const { return ZeitWeg; }
    int zeitVorbei() const { return ZeitVorbei; }
    int askedNote() const { return Note; }
    int task() const { return Aufgabe; }
    int errors() const { return fehler; }
    std::int32_t zeitZaehler() const { return ZeitZaehler; }
    bool taskOpen() const { return m_taskOpen; }

    QTimer* const tmrVorbei;
    QTimer* const tmrWeg;
    QTimer* const tmrNoteFalsch;

signals:
    // The mode buttons lock and the clef's answer row opens.
    void started();
    // A task is shown after its sound: the head on `staffStep`, hidden in ear training.
    void taskShown(int note, int staffStep, bool headVisible);
    void headHidden();
    void timeCounted(int hundredths, int of);
    // Before the time-out message: the asked head is shown.
    void timedOut(int note);
    void mistakeShown(int asked, int chosen);
    void mistakeCleared();
    // A task has ended, before anything is shown of its end.
    void taskEnded(const TaskOutcome& outcome);
    // Back at rest, before the result message.
    void ended(bool aborted);
    // After the result message, when the exercise was practised on the keyboard window.
    void keyboardPracticeEnded();
    // The result message is closed.
    void resultClosed();
    // The player's own sound of a note began, and it has died away, release included; the end
    // may come after the task has opened.
    void noteSoundStarted();
    void noteSoundEnded();

private:
    void NaechsteAufgabe();
    void NoteSpielen(std::int16_t note);
    void NoteFalschAnzeigen(std::int16_t gefragt, std::int16_t gewaehlt);
    void UebungBeenden(bool Abgebrochen);
    void giveHeldAnswer();

    ExerciseServices m_services;
    ExerciseState m_state = ExerciseState::Idle;

    std::int16_t NiedrigsterTon = 0;
    std::int16_t HöchsterTon = 0;
    std::int16_t ZeitWeg = 0;    // milliseconds
    std::int16_t ZeitVorbei = 0; // hundredths of a second
    Clef AusgewählterSchlüssel = Clef::None;
    std::int16_t Note = 0;
    std::int16_t Aufgabe = 0;
    std::int16_t fehler = 0;
    bool Gehörtraining = false;
    bool UebenMitKeyboard = false;
    std::int32_t ZeitZaehler = 0;

    bool m_taskOpen = false; // a task is shown and waits for its answer or time-out
    bool m_sounding = false;
    std::optional<std::pair<int, AnswerInput>> m_heldAnswer; // played while the note sounded
    QList<MissedTask> m_missed;                              // for the result's details
    QElapsedTimer m_taskClock;
    std::vector<double> m_weights; // per note of the range; empty: every note alike
};
