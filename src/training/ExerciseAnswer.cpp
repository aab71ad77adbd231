// Judging an answer, and the three seconds that show a wrong one.
#include "training/Exercise.h"
#include "training/NoteModel.h"

#include <QTimer>

#include <array>
#include <cstdlib>
#include <optional>
#include <utility>

namespace {

constexpr int DisplayMs = 3000;

// The natural note whose pitch is `pitch`; none for a black key.
std::optional<int> naturalStepOfPitch(int pitch) {
    constexpr std::array<int, 12> LetterOfPitchClass = {0, -1, 1, -1, 2, 3, -1, 4, -1, 5, -1, 6};
    if (pitch < 0)
        return std::nullopt;
    const int letter = LetterOfPitchClass.at(std::size_t(pitch % 12));
    if (letter < 0)
        return std::nullopt;
    return (pitch / 12 - 1) * SpelledNote::StepsPerOctave + letter;
}

// A pitch as the learner most likely meant it: on the asked note's step when it lies within a
// semitone of its natural (so a forgotten sign is named as such), else as a white key, else as
// the key's kind of sign spells a black key.
SpelledNote spellPitch(int pitch, const SpelledNote& asked, KeySignature key) {
    const int fromNatural = pitch - SpelledNote{asked.step, 0}.midiPitch();
    if (std::abs(fromNatural) <= 1)
        return {asked.step, fromNatural};
    if (const std::optional<int> step = naturalStepOfPitch(pitch))
        return {*step, 0};
    if (key.fifths < 0)
        return {*naturalStepOfPitch(pitch + 1), -1};
    return {*naturalStepOfPitch(pitch - 1), 1};
}

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
    const SpelledNote chosen = spellPitch(midiPitch, m_askedNote, m_key);
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
                    answered, spellingJudged});
    if (right) {
        NaechsteAufgabe();
        return;
    }
    ++fehler;
    m_missed.append({Aufgabe, Note, index, m_askedNote, answered});
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
    emit mistakeCleared();
    tmrNoteFalsch->stop();
    NaechsteAufgabe();
}
