// A task of several notes: drawn as a phrase, shown at once, answered note by note in order.
#include "training/Exercise.h"
#include "training/Phrase.h"

#include <QTimer>

namespace {

// How long a wrong note of a phrase shows before the mark moves on: the phrase goes on.
constexpr int PhraseMistakeMs = 1000;

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

    // Ear training hears the phrase first, note after note; reading starts at once.
    if (Gehörtraining) {
        m_sounding = true;
        for (const PhraseNote& note : m_phrase) {
            Note = std::int16_t(note.index);
            m_askedNote = note.note;
            NoteSpielen(Note);
            if (m_state != ExerciseState::Running)
                break;
        }
        m_sounding = false;
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

// A wrong or timed-out note stays marked for a moment, then the phrase goes on.
void Exercise::phraseNoteEnded(PhraseNote::State state, const std::optional<SpelledNote>& chosen) {
    PhraseNote& note = m_phrase[std::size_t(m_place)];
    note.state = state;
    note.chosen = chosen;
    m_chosenNote = chosen;
    emit phraseNoteJudged(m_place);
    if (state == PhraseNote::State::Right)
        nextPhraseNote();
    else
        tmrNoteFalsch->start(PhraseMistakeMs);
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
