// Judging the answer given by a note button or a key of the keyboard window.
#include "training/Form1.h"
#include "training/NoteModel.h"

#include <QTimer>

void Form1::cmdNoteViolin_Click(std::int16_t Index) {
    judgeAnswer(Index);
}

void Form1::cmdNoteBass_Click(std::int16_t Index) {
    judgeAnswer(Index);
}

// Only an open task takes an answer: during the wrong-answer display or after the exercise a
// forwarded key click would otherwise close one task twice.
void Form1::judgeAnswer(std::int16_t Index) {
    if (!m_taskOpen || Index < 0 || Index >= NoteCount)
        return;
    m_taskOpen = false;
    tmrWeg->stop();
    tmrVorbei->stop();
    ZeitZaehler = 0;
    if (Index == Note) {
        NaechsteAufgabe();
        return;
    }
    ++fehler;
    NoteFalschAnzeigen(Note, Index);
}
