// Judging an answer, and the three seconds that show a wrong one.
#include "training/Exercise.h"
#include "training/NoteModel.h"
#include "training/PitchSpelling.h"

#include <QTimer>

#include <optional>
#include <utility>

namespace {

constexpr int DisplayMs = 3000;

} // namespace

// Only an open task takes an answer: during the wrong-answer display, during a sound or after
// the exercise an answer would otherwise close one task twice.
void Exercise::answer(int index, AnswerInput input) {
    const std::optional<SpelledNote> natural = clefNote(AusgewählterSchlüssel, index);
    if (!m_taskOpen || !natural)
        return;
    // Only buttons read without ear training name a spelling; the rest give a sound or a key.
    if (!m_alteredNotes)
        judge(*natural, input, input == AnswerInput::Buttons && !Gehörtraining);
    else if (input == AnswerInput::Buttons)
        answerSpelled(*natural, input);
    else
        answerPitch(natural->midiPitch(), input);
}

void Exercise::answerSpelled(const SpelledNote& note, AnswerInput input) {
    if (!m_taskOpen || !clefIndexOf(AusgewählterSchlüssel, {note.step, 0}))
        return;
    judge(note, input, !Gehörtraining);
}

void Exercise::answerPitch(int midiPitch, AnswerInput input) {
    if (!m_taskOpen || !m_alteredNotes)
        return;
    const SpelledNote chosen = spellPitch(midiPitch, m_askedNote, m_key, m_ownAccidentals);
    if (!clefIndexOf(AusgewählterSchlüssel, {chosen.step, 0}))
        return;
    judge(chosen, input, false);
}

// Buttons are judged by the spelling; a key, a sound, and ear training by the pitch, where a
// right pitch counts as the note asked.
void Exercise::judge(const SpelledNote& chosen, AnswerInput input, bool spellingJudged) {
    const bool right =
        spellingJudged ? chosen == m_askedNote : chosen.midiPitch() == m_askedNote.midiPitch();
    const SpelledNote answered = right ? m_askedNote : chosen;
    const int index = *clefIndexOf(AusgewählterSchlüssel, {answered.step, 0});
    m_taskOpen = false;
    tmrWeg->stop();
    tmrVorbei->stop();
    ZeitZaehler = 0;
    emit taskEnded({Aufgabe, Note, index, right, m_taskClock.elapsed(), input, m_key, m_askedNote,
                    answered, spellingJudged, m_place});
    if (!right) {
        ++fehler;
        m_missed.append({Aufgabe, Note, index, m_askedNote, answered, m_key});
        if (phrases())
            m_missed.back().place = m_place;
    }
    if (phrases()) {
        soundAnswer(input, answered);
        phraseNoteEnded(right ? PhraseNote::State::Right : PhraseNote::State::Wrong,
                        right ? std::nullopt : std::optional(answered));
        return;
    }
    if (right) {
        NaechsteAufgabe();
        return;
    }
    m_chosenNote = answered;
    NoteFalschAnzeigen(Note, std::int16_t(index));
}

void Exercise::answerFromInstrument(int index, AnswerInput input) {
    if (m_sounding)
        m_heldAnswer = HeldAnswer{index, false, input};
    else
        answer(index, input);
}

void Exercise::answerPitchFromInstrument(int midiPitch, AnswerInput input) {
    if (m_sounding)
        m_heldAnswer = HeldAnswer{midiPitch, true, input};
    else
        answerPitch(midiPitch, input);
}

void Exercise::giveHeldAnswer() {
    const std::optional<HeldAnswer> held = std::exchange(m_heldAnswer, std::nullopt);
    if (!held)
        return;
    if (held->pitch)
        answerPitch(held->value, held->input);
    else
        answer(held->value, held->input);
}

void Exercise::NoteFalschAnzeigen(std::int16_t gefragt, std::int16_t gewaehlt) {
    tmrNoteFalsch->start(DisplayMs);
    emit mistakeShown(gefragt, gewaehlt);
}

void Exercise::tmrNoteFalsch_Timer() {
    // Each display ends once; after an abort there is nothing left to end.
    if (!tmrNoteFalsch->isActive())
        return;
    tmrNoteFalsch->stop();
    emit mistakeCleared();
    // A phrase's wrong notes stay on its staff until the phrase ends.
    if (phrases())
        nextPhraseNote();
    else
        NaechsteAufgabe();
}
