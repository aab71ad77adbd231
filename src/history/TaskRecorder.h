#pragma once

#include "history/HistoryReader.h"
#include "history/HistoryStore.h"
#include "history/UnwrittenRecord.h"
#include "training/TaskOutcome.h"
#include "training/WeakNotes.h"

#include <QObject>
#include <QString>
#include <QThread>

#include <memory>

class Exercise;
class QTimer;

// Writes every task of the exercise to the record as it ends, one transaction each, so that an
// abort or a crash loses at most the task under way. The writing, with its wait for the disk or
// for another program holding the file, happens on a thread of its own, never on the window's;
// rows a busy file refuses stay in memory and are tried again.
class TaskRecorder : public QObject {
    Q_OBJECT

public:
    TaskRecorder(Exercise& exercise, const QString& file, QObject* parent = nullptr);
    // Tries the rows not yet written once more, briefly, and keeps those the file still refuses
    // beside it for the next start.
    ~TaskRecorder() override;

    // Opens the record now rather than at the first exercise; says what went wrong, once.
    void openStore();
    // Each note's record in a clef and mode, the tasks not yet written included; read on the
    // caller's thread without waiting for the writing or for another program.
    NoteRecords noteRecords(Clef clef, bool earTraining);
    // Returns once the writing thread has tried everything recorded so far.
    void waitForWrites();

signals:
    // Tasks or the end of an exercise are written.
    void recorded();
    // A problem with the record, in German, once a run; never while an exercise runs or its
    // result is shown.
    void notice(const QString& text);

private:
    void exerciseStarted();
    void taskEnded(const TaskOutcome& outcome);
    void exerciseEnded(bool aborted);
    // On the writing thread: writes what is unwritten, or tries again later.
    void writeUnwritten();
    void askToWrite();
    void tellProblem();

    Exercise& m_exercise;
    QString m_file;
    UnwrittenRecord m_unwritten; // shared by both threads
    HistoryReader m_reader;      // on the window's thread
    QThread m_thread;
    QObject m_writer;                      // lives on m_thread
    std::unique_ptr<HistoryStore> m_store; // used on m_thread only
    QTimer* m_retry = nullptr;             // on m_thread
    bool m_keptRowsRead = false;           // on m_thread
    QString m_pendingNotice;
    bool m_resultShown = false;
};
