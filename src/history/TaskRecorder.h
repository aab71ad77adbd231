#pragma once

#include "history/HistoryStore.h"
#include "training/TaskOutcome.h"
#include "training/WeakNotes.h"

#include <QObject>
#include <QString>
#include <QThread>

#include <memory>
#include <optional>

class Exercise;

// Writes every task of the exercise to the record as it ends, so that an abort or a crash loses
// at most the task under way. The writing, with its wait for the disk, happens on a thread of
// its own, never on the window's.
class TaskRecorder : public QObject {
    Q_OBJECT

public:
    TaskRecorder(Exercise& exercise, const QString& file, QObject* parent = nullptr);
    // Returns once everything recorded so far is written.
    ~TaskRecorder() override;

    // Opens the record now rather than at the first exercise; says what went wrong, once.
    void openStore();
    // Each note's record in a clef and mode, the tasks recorded so far included.
    NoteRecords noteRecords(Clef clef, bool earTraining);
    // Returns once everything recorded so far is written.
    void waitForWrites();

signals:
    // A task or the end of an exercise is written.
    void recorded();
    // A problem with the record, in German, once a run; never while an exercise runs.
    void notice(const QString& text);

private:
    void exerciseStarted();
    void taskEnded(const TaskOutcome& outcome);
    void exerciseEnded(bool aborted);
    // Runs `work` on the writing thread after what was asked before it, then hands on what it
    // found wrong and, with `tellRecorded`, that something was written.
    template <typename Work> void onWriter(Work work, bool tellRecorded);
    void tellProblem();

    Exercise& m_exercise;
    QThread m_thread;
    QObject m_writer;                      // lives on m_thread
    std::unique_ptr<HistoryStore> m_store; // used on m_thread only
    std::optional<qint64> m_current;       // the exercise being written; on m_thread only
    ExerciseStart m_currentStart;          // what it began with; on m_thread only
    QString m_pendingNotice;
};
