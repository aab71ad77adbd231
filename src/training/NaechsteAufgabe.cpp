// Drawing, sounding and showing the next task.
#include "training/Form1.h"
#include "training/NoteModel.h"

#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {
constexpr int TasksPerExercise = 25;
}

void Form1::NaechsteAufgabe() {
    ++Aufgabe;
    if (Aufgabe == TasksPerExercise + 1) {
        UebungBeenden(false);
        return;
    }

    const double r = m_services.random();
    // An r within a rounding error of 1 would otherwise give the note one above the range.
    Note = std::int16_t(std::min<double>(
        std::floor((HöchsterTon - NiedrigsterTon + 1) * r + NiedrigsterTon), HöchsterTon));

    NoteSpielen(Note);
    // The playback waits in a loop of its own; an abort cannot come through it, but stay safe.
    if (m_state != ExerciseState::Running)
        return;

    shpNote.Visible = true;
    ZeitZaehler = 0;
    m_taskClock.start();
    if (ZeitVorbei > 0)
        tmrVorbei->start();
    // An interval of 0 would fire without pause: a disappearing time of 0 keeps the note.
    if (ZeitWeg > 0)
        tmrWeg->start(ZeitWeg);

    hideLedgerLines(0, 11);
    placeNote(shpNote, Column::Asked, staffStep(AusgewählterSchlüssel, Note));
    if (Gehörtraining)
        shpNote.Visible = false;
    m_taskOpen = true;
    update();
}
