// A task of several notes: drawn as a phrase, shown at once, answered note by note in order.
#include "training/Exercise.h"
#include "training/NoteFile.h"
#include "training/NoteModel.h"
#include "training/NotePlayer.h"
#include "training/Phrase.h"

#include <QTimer>

namespace {

// How long a wrong note of a phrase shows before the mark moves on: the phrase goes on.
constexpr int PhraseMistakeMs = 1000;
// The pace of a phrase heard in ear training.
constexpr int HeardPhraseMsPerNote = 600;

} // namespace

void Exercise::startPhrase() {
    m_phrase.clear();
    for (const int index :
         drawPhrase(m_notesPerTask, NiedrigsterTon, HöchsterTon, m_weights, m_services.random)) {
        drawTaskNote(index);
        m_phrase.push_back({index, m_askedNote, m_askedAccidental, PhraseNote::State::Open, {}});
    }
    m_chosenNote.reset();
    m_place = 0;

    // Ear training hears the phrase first, at a steady pace; reading starts at once.
    if (Gehörtraining && m_services.player) {
        std::vector<int> pitches;
        for (const PhraseNote& note : m_phrase)
            pitches.push_back(note.note.midiPitch());
        m_sounding = true;
        m_services.player->playPitches(pitches, HeardPhraseMsPerNote);
        m_sounding = false;
        // The playback waits in a loop of its own; an abort cannot come through it, but stay safe.
        if (m_state != ExerciseState::Running)
            return;
    }

    // The whole phrase shows as long as each of its notes would.
    if (ZeitWeg > 0)
        tmrWeg->start(ZeitWeg * m_notesPerTask);
    openNote();
    emit phraseShown(!Gehörtraining);
    if (m_heldAnswer)
        QMetaObject::invokeMethod(this, &Exercise::giveHeldAnswer, Qt::QueuedConnection);
}

// The note at the mark is asked: its time starts.
void Exercise::openNote() {
    const PhraseNote& note = m_phrase[std::size_t(m_place)];
    Note = std::int16_t(note.index);
    m_askedNote = note.note;
    m_askedAccidental = note.accidental;
    ZeitZaehler = 0;
    m_taskClock.start();
    if (ZeitVorbei > 0)
        tmrVorbei->start();
    m_taskOpen = true;
}

// Read on buttons or the keyboard window, an answer sounds as the learner reads on, so that the
// phrase is heard; a MIDI keyboard and an instrument sound themselves.
void Exercise::soundAnswer(AnswerInput input, const SpelledNote& answered) {
    const bool silentInput = input != AnswerInput::Buttons && input != AnswerInput::ScreenKeyboard;
    if (Gehörtraining || silentInput || !m_services.player)
        return;
    const std::optional<int> index = clefIndexOf(AusgewählterSchlüssel, {answered.step, 0});
    const QString file =
        index ? noteFile(m_services.programDir, AusgewählterSchlüssel, *index) : QString();
    if (!file.isEmpty())
        m_services.player->startFileTransposed(file, answered.alteration);
}

// A wrong or timed-out note stays marked for a moment, then the phrase goes on.
void Exercise::phraseNoteEnded(PhraseNote::State state, const std::optional<SpelledNote>& chosen) {
    PhraseNote& note = m_phrase[std::size_t(m_place)];
    note.state = state;
    note.chosen = chosen;
    m_chosenNote = chosen;
    emit phraseNoteJudged(m_place);
    if (state == PhraseNote::State::Right) {
        nextPhraseNote();
        return;
    }
    tmrNoteFalsch->start(PhraseMistakeMs);
    // The answer rows and the keyboard window show it as they show a single note's.
    if (chosen)
        if (const std::optional<int> index = clefIndexOf(AusgewählterSchlüssel, {chosen->step, 0}))
            emit mistakeShown(Note, *index);
}

void Exercise::nextPhraseNote() {
    m_chosenNote.reset();
    if (++m_place == int(m_phrase.size())) {
        tmrWeg->stop();
        NaechsteAufgabe();
        return;
    }
    openNote();
    emit markMoved(m_place);
}
