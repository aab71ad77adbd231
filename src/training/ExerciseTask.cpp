// Drawing, sounding and showing the next task.
#include "training/Exercise.h"
#include "training/NoteFile.h"
#include "training/NoteModel.h"
#include "training/NotePlayer.h"
#include "training/OwnSigns.h"
#include "training/WeakNotes.h"

#include <QTimer>

#include <algorithm>
#include <cmath>
#include <vector>

void Exercise::NaechsteAufgabe() {
    ++Aufgabe;
    if (Aufgabe == TasksPerExercise + 1) {
        UebungBeenden(false);
        return;
    }

    if (phrases()) {
        startPhrase();
        return;
    }

    const double r = m_services.random();
    if (!m_weights.empty())
        drawTaskNote(NiedrigsterTon + weightedDraw(m_weights, r));
    else
        // An r within a rounding error of 1 would otherwise give the note one above the range.
        drawTaskNote(int(std::min<double>(
            std::floor((HöchsterTon - NiedrigsterTon + 1) * r + NiedrigsterTon), HöchsterTon)));
    m_chosenNote.reset();

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

// The note at staff place `index` as the key spells it, with a sign of its own now and then.
void Exercise::drawTaskNote(int index) {
    Note = std::int16_t(index);
    m_askedNote = m_key.spell(clefNote(AusgewählterSchlüssel, Note)->step);
    m_askedAccidental.reset();
    if (m_alteredNotes && m_ownAccidentals != OwnAccidentals::None)
        drawAccidental();
}

// About one task in three carries a sign of its own.
void Exercise::drawAccidental() {
    if (m_services.random() >= OwnSignShare)
        return;
    const std::vector<int> signs = ownSigns(m_askedNote.alteration, m_ownAccidentals);
    if (signs.empty())
        return;
    const auto at =
        std::min(std::size_t(m_services.random() * double(signs.size())), signs.size() - 1);
    m_askedNote.alteration = signs[at];
    m_askedAccidental = signs[at];
}

// An altered note sounds as its natural's file moved by the alteration.
void Exercise::NoteSpielen(std::int16_t note) {
    const QString file = noteFile(m_services.programDir, AusgewählterSchlüssel, note);
    if (file.isEmpty() || !m_services.player)
        return;
    if (m_askedNote.alteration != 0)
        m_services.player->playFileTransposed(file, m_askedNote.alteration);
    else
        m_services.player->playFile(file);
}
