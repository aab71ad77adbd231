#include "history/TaskRecorder.h"

#include "history/HistoryStore.h"
#include "training/Exercise.h"

#include <QDateTime>
#include <QTimer>

TaskRecorder::TaskRecorder(Exercise& exercise, HistoryStore& store, QObject* parent)
    : QObject(parent), m_exercise(exercise), m_store(store) {
    connect(&exercise, &Exercise::started, this, &TaskRecorder::exerciseStarted);
    connect(&exercise, &Exercise::taskEnded, this, &TaskRecorder::taskEnded);
    connect(&exercise, &Exercise::ended, this, &TaskRecorder::exerciseEnded);
}

void TaskRecorder::openStore() {
    m_store.open();
    tellProblem();
}

void TaskRecorder::exerciseStarted() {
    m_current = m_store.beginExercise({QDateTime::currentDateTime(), m_exercise.clef(),
                                       m_exercise.earTraining(), m_exercise.lowest(),
                                       m_exercise.highest(), m_exercise.zeitWeg(),
                                       m_exercise.zeitVorbei(), m_exercise.keyboardPractice()});
}

void TaskRecorder::taskEnded(const TaskOutcome& outcome) {
    if (!m_current)
        return;
    m_store.recordTask(*m_current, outcome, QDateTime::currentDateTime());
    emit recorded();
}

void TaskRecorder::exerciseEnded(bool aborted) {
    if (const auto exercise = std::exchange(m_current, std::nullopt)) {
        m_store.endExercise(*exercise, aborted, m_exercise.errors());
        emit recorded();
    }
    // After the exercise's own result message has come up.
    QTimer::singleShot(0, this, &TaskRecorder::tellProblem);
}

void TaskRecorder::tellProblem() {
    if (m_exercise.state() == ExerciseState::Running)
        return;
    if (const QString text = m_store.takeNotice(); !text.isEmpty())
        emit notice(text);
}
