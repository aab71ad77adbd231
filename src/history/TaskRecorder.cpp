#include "history/TaskRecorder.h"

#include "history/KeptRows.h"
#include "training/Exercise.h"

#include <QDateTime>
#include <QTimer>

namespace {
// How soon rows a busy file refused are tried again.
constexpr int RetryMs = 1000;
} // namespace

TaskRecorder::TaskRecorder(Exercise& exercise, const QString& file, QObject* parent)
    : QObject(parent), m_exercise(exercise), m_file(file), m_reader(file) {
    m_thread.setObjectName(QStringLiteral("Verlauf"));
    m_writer.moveToThread(&m_thread);
    m_thread.start();
    // The store's connection and the timer belong to the thread that makes them.
    QMetaObject::invokeMethod(
        &m_writer,
        [this] {
            m_store = std::make_unique<HistoryStore>(m_file);
            m_retry = new QTimer(&m_writer);
            m_retry->setSingleShot(true);
            m_retry->setInterval(RetryMs);
            connect(m_retry, &QTimer::timeout, &m_writer, [this] { writeUnwritten(); });
            // Rows an earlier run could not write are older than any of this one.
            m_unwritten.prepend(readKeptRows(m_file));
            m_keptRowsRead = !m_unwritten.isEmpty();
        },
        Qt::BlockingQueuedConnection);
    connect(&exercise, &Exercise::started, this, &TaskRecorder::exerciseStarted);
    connect(&exercise, &Exercise::taskEnded, this, &TaskRecorder::taskEnded);
    connect(&exercise, &Exercise::ended, this, &TaskRecorder::exerciseEnded);
    connect(&exercise, &Exercise::resultClosed, this, [this] {
        m_resultShown = false;
        tellProblem();
    });
}

TaskRecorder::~TaskRecorder() {
    QMetaObject::invokeMethod(
        &m_writer,
        [this] {
            delete std::exchange(m_retry, nullptr);
            writeUnwritten();
            if (!m_unwritten.isEmpty())
                keepRows(m_file, m_unwritten.copy());
            m_store.reset();
        },
        Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

void TaskRecorder::writeUnwritten() {
    if (m_retry)
        m_retry->stop();
    const bool keptRows = std::exchange(m_keptRowsRead, false);
    QList<UnwrittenExercise> exercises = m_unwritten.copy();
    bool tellRecorded = false;
    switch (m_store->write(exercises)) {
    case HistoryStore::Written::Yes:
        m_unwritten.written(exercises);
        if (keptRows)
            dropKeptRows(m_file);
        tellRecorded = !exercises.isEmpty();
        break;
    case HistoryStore::Written::Busy:
        m_keptRowsRead = keptRows;
        if (m_retry && !m_unwritten.isEmpty())
            m_retry->start();
        break;
    case HistoryStore::Written::Off:
        m_unwritten.clear();
        break;
    }
    const QString problem = m_store->takeNotice();
    QMetaObject::invokeMethod(this, [this, problem, tellRecorded] {
        if (!problem.isEmpty())
            m_pendingNotice = problem;
        tellProblem();
        if (tellRecorded)
            emit recorded();
    });
}

void TaskRecorder::askToWrite() {
    QMetaObject::invokeMethod(
        &m_writer,
        [this] {
            // A busy file is tried again by the timer, not at every task.
            if (!m_retry->isActive())
                writeUnwritten();
        },
        Qt::QueuedConnection);
}

void TaskRecorder::openStore() {
    askToWrite();
}

void TaskRecorder::waitForWrites() {
    QMetaObject::invokeMethod(
        &m_writer, [] {}, Qt::BlockingQueuedConnection);
}

std::vector<NoteRecord> TaskRecorder::noteRecords(Clef clef, bool earTraining,
                                                  const std::vector<SpelledNote>& notes) {
    m_reader.open();
    return readNoteRecords(m_reader.database(), m_unwritten.copy(), clef, earTraining, notes);
}

void TaskRecorder::exerciseStarted() {
    m_unwritten.begin({QDateTime::currentDateTime(), m_exercise.clef(), m_exercise.earTraining(),
                       m_exercise.lowest(), m_exercise.highest(), m_exercise.zeitWeg(),
                       m_exercise.zeitVorbei(), m_exercise.keyboardPractice(),
                       m_exercise.notesPerTask()});
    askToWrite();
}

void TaskRecorder::taskEnded(const TaskOutcome& outcome) {
    m_unwritten.add({outcome, QDateTime::currentDateTime()});
    askToWrite();
}

void TaskRecorder::exerciseEnded(bool aborted) {
    m_unwritten.end({aborted, m_exercise.errors()});
    m_resultShown = true;
    askToWrite();
}

void TaskRecorder::tellProblem() {
    if (m_exercise.state() == ExerciseState::Running || m_resultShown || m_pendingNotice.isEmpty())
        return;
    emit notice(std::exchange(m_pendingNotice, QString()));
}
