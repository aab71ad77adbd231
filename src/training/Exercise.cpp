// Choosing a mode, starting, aborting and ending an exercise.
#include "training/Exercise.h"

#include "training/NoteModel.h"
#include "training/NotePlayer.h"
#include "training/ResultText.h"
#include "training/WeakNotes.h"

#include <QTimer>

namespace {

QTimer* preciseTimer(QObject* parent, int intervalMs) {
    auto* timer = new QTimer(parent);
    timer->setInterval(intervalMs);
    timer->setTimerType(Qt::PreciseTimer);
    return timer;
}

} // namespace

// Interval 1 ms of the time-per-note timer is raised to the 10 ms that make a tick a hundredth.
Exercise::Exercise(ExerciseServices services, QObject* parent)
    : QObject(parent), tmrVorbei(preciseTimer(this, 10)), tmrWeg(preciseTimer(this, 1000)),
      tmrNoteFalsch(preciseTimer(this, 1)), m_services(std::move(services)) {
    connect(tmrWeg, &QTimer::timeout, this, &Exercise::tmrWeg_Timer);
    connect(tmrVorbei, &QTimer::timeout, this, &Exercise::tmrVorbei_Timer);
    connect(tmrNoteFalsch, &QTimer::timeout, this, &Exercise::tmrNoteFalsch_Timer);
    if (NotePlayer* player = m_services.player) {
        connect(player, &NotePlayer::soundStarted, this, &Exercise::noteSoundStarted);
        connect(player, &NotePlayer::soundEnded, this, &Exercise::noteSoundEnded);
    }
}

QString Exercise::NummerName(int index) const {
    return noteName(AusgewählterSchlüssel, index);
}

bool Exercise::chooseMode(Clef clef, bool earTraining) {
    if (m_state != ExerciseState::Idle)
        return false;
    AusgewählterSchlüssel = clef;
    if (earTraining)
        Gehörtraining = true;
    m_state = ExerciseState::Choosing;
    return true;
}

bool Exercise::chooseAgain(Clef clef, bool earTraining) {
    if (m_state != ExerciseState::Choosing)
        return false;
    AusgewählterSchlüssel = clef;
    Gehörtraining = earTraining;
    return true;
}

// A later plain mode must not inherit the ear training of a cancelled choice.
void Exercise::cancelChoosing() {
    if (m_state != ExerciseState::Choosing)
        return;
    Gehörtraining = false;
    m_state = ExerciseState::Idle;
}

void Exercise::Start(const ExerciseSettings& settings) {
    NiedrigsterTon = settings.NiedrigsterTon;
    HöchsterTon = settings.HöchsterTon;
    ZeitWeg = settings.ZeitWeg;
    ZeitVorbei = settings.ZeitVorbei;
    UebenMitKeyboard = settings.UebenMitKeyboard;
    Aufgabe = 0;
    fehler = 0;
    m_missed.clear();
    m_weights.clear();
    if (settings.SchwacheNotenOefter && m_services.noteRecords) {
        const NoteRecords records = m_services.noteRecords(AusgewählterSchlüssel, Gehörtraining);
        for (int note = NiedrigsterTon; note <= HöchsterTon; ++note)
            m_weights.push_back(weakNoteWeight(records[note]));
    }
    m_state = ExerciseState::Running;
    emit started();
    tmrWeg->setInterval(ZeitWeg);
    NaechsteAufgabe();
}

void Exercise::abort() {
    if (m_state == ExerciseState::Running)
        UebungBeenden(true);
}

void Exercise::UebungBeenden(bool Abgebrochen) {
    const QString details =
        Abgebrochen ? QString() : mistakeDetails(AusgewählterSchlüssel, m_missed);
    m_taskOpen = false;
    m_heldAnswer.reset();
    m_state = ExerciseState::Idle;
    tmrWeg->stop();
    tmrVorbei->stop();
    tmrNoteFalsch->stop();
    AusgewählterSchlüssel = Clef::None;
    Gehörtraining = false;
    ZeitZaehler = 0;
    emit ended(Abgebrochen);

    m_services.message(resultText(Abgebrochen, fehler), MessageIcon::Information, details);

    if (UebenMitKeyboard) {
        UebenMitKeyboard = false;
        emit keyboardPracticeEnded();
    }
    emit resultClosed();
}
