// The note disappearing and the time per note running out.
#include "training/Form1.h"

#include <QProgressBar>
#include <QTimer>

namespace {
constexpr qint64 MsPerHundredth = 10;
}

void Form1::tmrWeg_Timer() {
    shpNote.Visible = false;
    update();
}

// The count follows the monotonic task clock, so a late tick never makes the time-out late;
// the next tick is aimed at the next full hundredth.
void Form1::tmrVorbei_Timer() {
    const qint64 elapsedMs = m_taskClock.elapsed();
    tmrVorbei->setInterval(int(MsPerHundredth - elapsedMs % MsPerHundredth));
    ZeitVergangen(std::int32_t(elapsedMs / MsPerHundredth));
}

void Form1::ZeitVergangen(std::int32_t hundredths) {
    if (!m_taskOpen || ZeitVorbei <= 0)
        return;
    ZeitZaehler = std::min<std::int32_t>(std::max(hundredths, ZeitZaehler), ZeitVorbei);
    ProgressBar1->setRange(0, ZeitVorbei);
    ProgressBar1->setValue(ZeitZaehler);
    if (ZeitZaehler < ZeitVorbei)
        return;

    m_taskOpen = false;
    shpNote.Visible = true;
    tmrVorbei->stop();
    tmrWeg->stop();
    update();
    m_services.message(this,
                       QStringLiteral("Zeit vorbei. Gesucht wurde: ") + NummerName(Note) +
                           QStringLiteral("\n( Leertaste drücken, um diese Meldung zu schließen )"),
                       QString(), MessageIcon::None);
    ++fehler;
    ZeitZaehler = 0;
    // An abort while the message was open has ended the exercise: no task and no result follow.
    if (m_state == ExerciseState::Running)
        NaechsteAufgabe();
}
