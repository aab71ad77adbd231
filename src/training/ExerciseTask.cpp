// Drawing, sounding and showing the next task.
#include "training/Exercise.h"
#include "training/NoteFile.h"
#include "training/NoteModel.h"
#include "training/NotePlayer.h"

#include <QTimer>

#include <algorithm>
#include <cmath>

void Exercise::NaechsteAufgabe() {
    ++Aufgabe;
    if (Aufgabe == TasksPerExercise + 1) {
        UebungBeenden(false);
        return;
    }

    const double r = m_services.random();
    // An r within a rounding error of 1 would otherwise give the note one above the range.
    Note = std::int16_t(std::min<double>(
        std::floor((HöchsterTon - NiedrigsterTon + 1) * r + NiedrigsterTon), HöchsterTon));

    m_sounding = true;
    NoteSpielen(Note);
    m_sounding = false;
    // The playback waits in a loop of its own; an abort cannot come through it, but stay safe.
    if (m_state != ExerciseState::Running)
        return;

    ZeitZaehler = 0;
    m_taskClock.start();
    if (ZeitVorbei > 0)
        tmrVorbei->start();
    // An interval of 0 would fire without pause: a disappearing time of 0 keeps the note.
    if (ZeitWeg > 0)
        tmrWeg->start(ZeitWeg);
    m_taskOpen = true;
    emit taskShown(Note, staffStep(AusgewählterSchlüssel, Note), !Gehörtraining);
    // After the routine that showed the task has returned, as a click held back would come.
    if (m_heldAnswer)
        QMetaObject::invokeMethod(this, &Exercise::giveHeldAnswer, Qt::QueuedConnection);
}

void Exercise::NoteSpielen(std::int16_t note) {
    const QString file = noteFile(m_services.programDir, AusgewählterSchlüssel, note);
    if (!file.isEmpty() && m_services.player)
        m_services.player->playFile(file);
}
