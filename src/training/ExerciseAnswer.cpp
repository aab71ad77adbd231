// Judging an answer, and the three seconds that show a wrong one.
#include "training/Exercise.h"
#include "training/NoteModel.h"

#include <QTimer>

namespace {
constexpr int DisplayMs = 3000;
}

// Only an open task takes an answer: during the wrong-answer display, during a sound or after
// the exercise an answer would otherwise close one task twice.
void Exercise::answer(int index) {
    if (!m_taskOpen || index < 0 || index >= NoteCount)
        return;
    m_taskOpen = false;
    tmrWeg->stop();
    tmrVorbei->stop();
    ZeitZaehler = 0;
    if (index == Note) {
        NaechsteAufgabe();
        return;
    }
    ++fehler;
    m_missed.append({Aufgabe, Note, index});
    NoteFalschAnzeigen(Note, std::int16_t(index));
}

void Exercise::answerFromInstrument(int index) {
    if (m_sounding)
        m_heldAnswer = index;
    else
        answer(index);
}

void Exercise::giveHeldAnswer() {
    if (const std::optional<int> index = std::exchange(m_heldAnswer, std::nullopt))
        answer(*index);
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
