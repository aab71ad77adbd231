#pragma once

#include "history/UnwrittenRecord.h"
#include "training/WeakNotes.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

// Reads the record on a read-only connection of its own, which never waits: a reader of a WAL
// file is not held up by a writer, so another program holding the file costs nothing here, and
// a file this program may not write is read all the same.
class HistoryReader {
public:
    explicit HistoryReader(QString file);
    ~HistoryReader();
    HistoryReader(const HistoryReader&) = delete;
    HistoryReader& operator=(const HistoryReader&) = delete;

    enum class State { Readable, Empty, Unreadable };
    // Opens the file unless it is open. Empty: there is no record yet.
    State open();
    // Invalid unless readable.
    QSqlDatabase database() const;
    // Why the record cannot be read, in German, naming its file; empty when it can.
    QString problem() const { return m_problem; }

private:
    bool tryOpen(bool immutable);
    void close();

    QString m_file;
    QString m_connection;
    bool m_open = false;
    QString m_problem;
};

// Each note's record over its most recent tasks in a clef and mode, from the file and from the
// rows not yet in it, which are the newest.
NoteRecords readNoteRecords(const QSqlDatabase& db, const QList<UnwrittenExercise>& unwritten,
                            Clef clef, bool earTraining);
