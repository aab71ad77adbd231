#include "history/TaskRecorder.h"

#include "history/HistoryStore.h"
#include "training/Exercise.h"

#include <QDateTime>

TaskRecorder::TaskRecorder(Exercise& exercise, const QString& file, QObject* parent)
    : QObject(parent), m_exercise(exercise) {
    m_thread.setObjectName(QStringLiteral("Verlauf"));
    m_writer.moveToThread(&m_thread);
    m_thread.start();
    // The store's connection belongs to the thread that makes it.
    QMetaObject::invokeMethod(
        &m_writer, [this, file] { m_store = std::make_unique<HistoryStore>(file); },
        Qt::BlockingQueuedConnection);
    connect(&exercise, &Exercise::started, this, &TaskRecorder::exerciseStarted);
    connect(&exercise, &Exercise::taskEnded, this, &TaskRecorder::taskEnded);
    connect(&exercise, &Exercise::ended, this, &TaskRecorder::exerciseEnded);
}

TaskRecorder::~TaskRecorder() {
    QMetaObject::invokeMethod(
        &m_writer, [this] { m_store.reset(); }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

template <typename Work> void TaskRecorder::onWriter(Work work, bool tellRecorded) {
    QMetaObject::invokeMethod(
        &m_writer,
        [this, work = std::move(work), tellRecorded] {
            work();
            const QString problem = m_store->takeNotice();
            QMetaObject::invokeMethod(this, [this, problem, tellRecorded] {
                if (!problem.isEmpty())
                    m_pendingNotice = problem;
                tellProblem();
                if (tellRecorded)
                    emit recorded();
            });
        },
        Qt::QueuedConnection);
}

void TaskRecorder::openStore() {
    onWriter([this] { m_store->open(); }, false);
}

void TaskRecorder::waitForWrites() {
    QMetaObject::invokeMethod(
        &m_writer, [] {}, Qt::BlockingQueuedConnection);
}

NoteRecords TaskRecorder::noteRecords(Clef clef, bool earTraining) {
    NoteRecords records{};
    QMetaObject::invokeMethod(
        &m_writer, [&] { records = m_store->noteRecords(clef, earTraining); },
        Qt::BlockingQueuedConnection);
    return records;
}

void TaskRecorder::exerciseStarted() {
    const ExerciseStart start{QDateTime::currentDateTime(), m_exercise.clef(),
                              m_exercise.earTraining(),     m_exercise.lowest(),
                              m_exercise.highest(),         m_exercise.zeitWeg(),
                              m_exercise.zeitVorbei(),      m_exercise.keyboardPractice()};
    onWriter(
        [this, start] {
            m_current = m_store->beginExercise(start);
            m_currentStart = start;
        },
        false);
}

void TaskRecorder::taskEnded(const TaskOutcome& outcome) {
    onWriter(
        [this, outcome, at = QDateTime::currentDateTime()] {
            if (!m_current)
                return;
            m_store->keepExercise(*m_current, m_currentStart);
            m_store->recordTask(*m_current, outcome, at);
        },
        true);
}

void TaskRecorder::exerciseEnded(bool aborted) {
    onWriter(
        [this, aborted, errors = m_exercise.errors()] {
            if (const auto exercise = std::exchange(m_current, std::nullopt))
                m_store->endExercise(*exercise, aborted, errors);
        },
        true);
}

void TaskRecorder::tellProblem() {
    if (m_exercise.state() == ExerciseState::Running || m_pendingNotice.isEmpty())
        return;
    emit notice(std::exchange(m_pendingNotice, QString()));
}
