#pragma once

#include "training/TaskOutcome.h"
#include "training/WeakNotes.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

#include <optional>

class QSqlQuery;

// What is known of an exercise when it starts.
struct ExerciseStart {
    QDateTime startedAt;
    Clef clef = Clef::Violin;
    bool earTraining = false;
    int lowest = 0;
    int highest = 0;
    int noteShownMs = 0;
    int timePerNoteHundredths = 0;
    bool keyboardPractice = false;
};

// The record of every task, one SQLite file. Nothing here stops an exercise: a file that cannot
// be written leaves the record off and says so once in notice().
class HistoryStore {
public:
    // Whether opening reads the whole file for damage; the program does so once at its start,
    // so that a second store on the same file need not.
    enum class Check { Whole, Trusted };
    explicit HistoryStore(QString file, Check check = Check::Whole);
    ~HistoryStore();
    HistoryStore(const HistoryStore&) = delete;
    HistoryStore& operator=(const HistoryStore&) = delete;

    // Opens the file on first use: creates or brings its tables up to date, and sets a damaged
    // file aside to start anew. False when nothing can be recorded.
    bool open();

    std::optional<qint64> beginExercise(const ExerciseStart& start);
    // Writes the exercise's row again under its id if the record was cleared since it began, so
    // that its later tasks are not left without it.
    void keepExercise(qint64 exercise, const ExerciseStart& start);
    void recordTask(qint64 exercise, const TaskOutcome& outcome, const QDateTime& at);
    void endExercise(qint64 exercise, bool aborted, int errors);
    // Each note's record over its most recent tasks in a clef and mode.
    NoteRecords noteRecords(Clef clef, bool earTraining);
    // Deletes every exercise and task.
    bool clear();

    // The connection for the queries that read the record back; invalid when not open.
    QSqlDatabase database() const;

    // The first problem met, in German for the learner; given once, then empty.
    QString takeNotice();

private:
    enum class Opened { Ok, Damaged, Unwritable, Newer };
    Opened tryOpen();
    Opened migrate(QSqlQuery& query);
    bool insertExercise(QSqlQuery& query, const QString& verb, const QVariant& id,
                        const ExerciseStart& start);
    void close();
    QString setAside();
    bool run(QSqlQuery& query);
    void fail(const QString& notice);

    QString m_file;
    QString m_connection;
    Check m_check;
    bool m_tried = false;
    bool m_open = false;
    QString m_notice;
    bool m_noticeGiven = false;
};
