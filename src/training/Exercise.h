#pragma once

#include "training/Clef.h"
#include "training/ExerciseServices.h"
#include "training/ExerciseSettings.h"
#include "training/KeySignature.h"
#include "training/MistakeNaming.h"
#include "training/PhraseNote.h"
#include "training/SpelledNote.h"
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
    // A note index chosen by any input; only an open task takes it. With altered notes it is the
    // natural note of that staff place (a button without a toggle).
    void answer(int index, AnswerInput input = AnswerInput::Buttons);
    // A button with its accidental toggle: the spelled note is judged by its spelling, in ear
    // training by its pitch. Outside the clef's 15 staff places it is ignored.
    void answerSpelled(const SpelledNote& note, AnswerInput input = AnswerInput::Buttons);
    // A key or a sound, which has no spelling: judged by its MIDI pitch alone. Only with altered
    // notes; without them the inputs answer with indices as before.
    void answerPitch(int midiPitch, AnswerInput input);
    // answerPitch, held while the task's note sounds as answerFromInstrument holds.
    void answerPitchFromInstrument(int midiPitch, AnswerInput input);
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
    // The notes of each task's phrase: 1 as described, 4 or 8.
    int notesPerTask() const { return m_notesPerTask; }
    bool phrases() const { return m_notesPerTask > 1; }
    // With phrases: the task's notes, and the place of the one to answer, which askedIndex(),
    // askedSpelled() and askedAccidental() tell.
    const std::vector<PhraseNote>& phrase() const { return m_phrase; }
    int place() const { return m_place; }
    // The asked note's staff place: the index 0..14 of its natural among the clef's notes.
    int askedIndex() const { return Note; }
    int task() const { return Aufgabe; }
    int errors() const { return fehler; }
    std::int32_t zeitZaehler() const { return ZeitZaehler; }
    bool taskOpen() const { return m_taskOpen; }
    // A key other than C major or accidentals of the tasks' own: black keys and toggles answer.
    bool alteredNotes() const { return m_alteredNotes; }
    // The key of the exercise under way (C major at rest).
    KeySignature key() const { return m_key; }
    // The asked note as written, and the sign drawn before its head (an alteration: -1 flat,
    // 0 natural, +1 sharp), none when the key signature alone spells it.
    SpelledNote askedSpelled() const { return m_askedNote; }
    std::optional<int> askedAccidental() const { return m_askedAccidental; }
    // The note of the last wrong answer, for the wrong-answer display.
    std::optional<SpelledNote> chosenSpelled() const { return m_chosenNote; }

    QTimer* const tmrVorbei;
    QTimer* const tmrWeg;
    QTimer* const tmrNoteFalsch;

signals:
    // The mode buttons lock and the clef's answer row opens.
    void started();
    // The key signature of the exercise, before its first task.
    void keyChosen(KeySignature key);
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
    // With phrases, in place of taskShown, mistakeShown and timedOut: the phrase stands on the
    // staff, its heads hidden in ear training; a note of it was answered or its time ran out;
    // the mark moved on to the note at `place`.
    void phraseShown(bool headsVisible);
    void phraseNoteJudged(int place);
    void markMoved(int place);
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
    void judge(const SpelledNote& chosen, AnswerInput input, bool spellingJudged);
    void drawAccidental();
    void weighWeakNotes();
    void drawTaskNote(int index);
    void startPhrase();
    void phraseNoteEnded(PhraseNote::State state, const std::optional<SpelledNote>& chosen);
    void nextPhraseNote();
    void soundAnswer(AnswerInput input, const SpelledNote& answered);
    void openNote();

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
    // Played while the note sounded: an index, or a pitch with altered notes.
    struct HeldAnswer {
        int value = 0;
        bool pitch = false;
        AnswerInput input = AnswerInput::Midi;
    };
    std::optional<HeldAnswer> m_heldAnswer;
    QList<MissedTask> m_missed; // for the result's details
    QElapsedTimer m_taskClock;
    std::vector<double> m_weights; // per note of the range; empty: every note alike

    int m_notesPerTask = 1;
    std::vector<PhraseNote> m_phrase;
    int m_place = 0;
    bool m_alteredNotes = false;
    OwnAccidentals m_ownAccidentals = OwnAccidentals::None;
    KeySignature m_key;
    SpelledNote m_askedNote;
    std::optional<int> m_askedAccidental;
    std::optional<SpelledNote> m_chosenNote;
};
