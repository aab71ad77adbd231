#pragma once

#include "history/UnwrittenRecord.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

class QSqlQuery;

// The record of every task, one SQLite file, written on one connection. Nothing here stops an
// exercise: a file that cannot be written leaves the record off and says so once in notice();
// one that another program holds is only busy, and can be tried again.
class HistoryStore {
public:
    // Whether opening reads the whole file for damage; the program does so once at its start,
    // so that a second store on the same file need not.
    enum class Check { Whole, Trusted };
    // A statement waits briefly for another program holding the file: a store is used on a
    // thread of its own, never on the window's.
    explicit HistoryStore(QString file, Check check = Check::Whole);
    ~HistoryStore();
    HistoryStore(const HistoryStore&) = delete;
    HistoryStore& operator=(const HistoryStore&) = delete;

    enum class State { Open, Busy, Off };
    // Opens the file unless it is open: creates or brings its tables up to date, and sets a
    // damaged file aside to start anew. Busy leaves it closed, to be tried again; Off is for
    // the rest of the run.
    State open();

    enum class Written { Yes, Busy, Off };
    // Writes the exercises' rows in one transaction and gives each exercise written its id; an
    // exercise whose row is gone (the record cleared meanwhile) is written again under its id
    // if tasks of it are to follow. Busy writes nothing. A file found damaged is set aside and
    // all of them written to a new one.
    Written write(QList<UnwrittenExercise>& exercises);

    enum class Cleared { Yes, Busy, Failed };
    // Deletes every exercise and task, and the rows kept beside the record.
    Cleared clear();

    // The connection the store writes on; invalid when not open.
    QSqlDatabase database() const;

    // The first problem met, in German for the learner; given once, then empty.
    QString takeNotice();

private:
    enum class Opened { Ok, Busy, Damaged, Unwritable, Newer };
    enum class Step { Done, Busy, Damaged, Failed };
    Opened tryOpen();
    Opened migrate(QSqlQuery& query);
    Step writeAll(QList<UnwrittenExercise>& exercises);
    bool writeExercise(QSqlQuery& query, UnwrittenExercise& exercise);
    bool keepRow(QSqlQuery& query, UnwrittenExercise& exercise);
    bool insertExercise(QSqlQuery& query, const QVariant& id, UnwrittenExercise& exercise);
    bool startAnew();
    void close();
    QString setAside();
    void fail(const QString& notice);

    QString m_file;
    QString m_connection;
    Check m_check;
    bool m_open = false;
    bool m_off = false;
    QString m_notice;
    bool m_noticeGiven = false;
};
