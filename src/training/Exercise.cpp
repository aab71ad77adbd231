// Choosing a mode, starting, aborting and ending an exercise.
#include "training/Exercise.h"

#include "training/NoteModel.h"
#include "training/NotePlayer.h"
#include "training/ResultText.h"
#include "training/WeakNotes.h"

#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {

QTimer* preciseTimer(QObject* parent, int intervalMs) {
    auto* timer = new QTimer(parent);
    timer->setInterval(intervalMs);
    timer->setTimerType(Qt::PreciseTimer);
    return timer;
}

// The fixed key, or one drawn alike from those with at most the chosen number of signs.
KeySignature chooseKey(const ExerciseSettings& settings, const std::function<double()>& random) {
    if (!settings.keyEachExercise)
        return {std::clamp(settings.keyFifths, -KeySignature::MaxAccidentals,
                           KeySignature::MaxAccidentals)};
    const int most = std::clamp(settings.keyMostAccidentals, 0, KeySignature::MaxAccidentals);
    const int drawn = int(std::floor(random() * (2 * most + 1)));
    return {std::min(drawn, 2 * most) - most};
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
    m_notesPerTask = settings.notesPerTask;
    Aufgabe = 0;
    fehler = 0;
    m_missed.clear();
    m_weights.clear();
    m_alteredNotes = settings.alteredNotes();
    m_ownAccidentals = settings.accidentals;
    m_key = chooseKey(settings, m_services.random);
    m_chosenNote.reset();
    if (settings.SchwacheNotenOefter && m_services.noteRecords)
        weighWeakNotes();
    m_state = ExerciseState::Running;
    emit started();
    emit keyChosen(m_key);
    tmrWeg->setInterval(ZeitWeg);
    NaechsteAufgabe();
}

// Each staff place of the range by the records of the notes it is asked as: its natural alone
// without a key and signs of the task's own.
void Exercise::weighWeakNotes() {
    std::vector<std::vector<NoteShare>> places;
    std::vector<SpelledNote> notes;
    for (int index = NiedrigsterTon; index <= HöchsterTon; ++index) {
        const std::optional<SpelledNote> natural = clefNote(AusgewählterSchlüssel, index);
        places.push_back(
            natural ? spellingsOfStep(natural->step, m_key,
                                      m_alteredNotes ? m_ownAccidentals : OwnAccidentals::None)
                    : std::vector<NoteShare>{});
        for (const NoteShare& spelling : places.back())
            notes.push_back(spelling.note);
    }
    const std::vector<NoteRecord> records =
        m_services.noteRecords(AusgewählterSchlüssel, Gehörtraining, notes);
    std::span<const NoteRecord> rest = records;
    for (const std::vector<NoteShare>& place : places) {
        m_weights.push_back(placeWeight(place, rest));
        rest = rest.subspan(std::min(place.size(), rest.size()));
    }
}

void Exercise::abort() {
    if (m_state == ExerciseState::Running)
        UebungBeenden(true);
}

void Exercise::UebungBeenden(bool Abgebrochen) {
    const QString details =
        Abgebrochen ? QString() : mistakeDetails(AusgewählterSchlüssel, m_missed, m_alteredNotes);
    const int notesPerTask = m_notesPerTask;
    m_taskOpen = false;
    m_heldAnswer.reset();
    m_phrase.clear();
    m_place = 0;
    m_state = ExerciseState::Idle;
    tmrWeg->stop();
    tmrVorbei->stop();
    tmrNoteFalsch->stop();
    AusgewählterSchlüssel = Clef::None;
    Gehörtraining = false;
    m_alteredNotes = false;
    m_key = {};
    ZeitZaehler = 0;
    emit ended(Abgebrochen);

    m_services.message(resultText(Abgebrochen, fehler, notesPerTask), MessageIcon::Information,
                       details);

    if (UebenMitKeyboard) {
        UebenMitKeyboard = false;
        emit keyboardPracticeEnded();
    }
    emit resultClosed();
}
