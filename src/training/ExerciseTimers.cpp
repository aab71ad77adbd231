// The note disappearing and the time per note running out.
#include "training/Exercise.h"
#include "training/NoteNaming.h"
#include "training/ResultText.h"

#include <QTimer>

#include <algorithm>

namespace {
constexpr qint64 MsPerHundredth = 10;
}

void Exercise::tmrWeg_Timer() {
    emit headHidden();
}

// The count follows the monotonic task clock, so a late tick never makes the time-out late;
// the next tick is aimed at the next full hundredth.
void Exercise::tmrVorbei_Timer() {
    const qint64 elapsedMs = m_taskClock.elapsed();
    tmrVorbei->setInterval(int(MsPerHundredth - elapsedMs % MsPerHundredth));
    ZeitVergangen(std::int32_t(elapsedMs / MsPerHundredth));
}

void Exercise::ZeitVergangen(std::int32_t hundredths) {
    if (!m_taskOpen || ZeitVorbei <= 0)
        return;
    ZeitZaehler = std::min<std::int32_t>(std::max(hundredths, ZeitZaehler), ZeitVorbei);
    emit timeCounted(ZeitZaehler, ZeitVorbei);
    if (ZeitZaehler < ZeitVorbei)
        return;

    m_taskOpen = false;
    emit taskEnded({Aufgabe, Note, std::nullopt, false, m_taskClock.elapsed(), std::nullopt, m_key,
                    m_askedNote, std::nullopt, false, m_place});
    tmrVorbei->stop();
    // A phrase goes on without a message: its note is shown as it should have been answered.
    if (phrases()) {
        ++fehler;
        m_missed.append({Aufgabe, Note, std::nullopt, m_askedNote, std::nullopt});
        m_missed.back().place = m_place;
        ZeitZaehler = 0;
        phraseNoteEnded(PhraseNote::State::TimedOut, std::nullopt);
        return;
    }
    emit timedOut(Note);
    tmrWeg->stop();
    m_services.message(timeOutText(noteName(m_askedNote)), MessageIcon::None, QString());
    ++fehler;
    m_missed.append({Aufgabe, Note, std::nullopt, m_askedNote, std::nullopt});
    ZeitZaehler = 0;
    // An abort while the message was open has ended the exercise: no task and no result follow.
    if (m_state == ExerciseState::Running)
        NaechsteAufgabe();
}
