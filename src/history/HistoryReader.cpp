#include "history/HistoryReader.h"

#include "history/ClefKey.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QSqlQuery>
#include <QUrl>
#include <QVariant>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

QString connectionName(const void* reader) {
    return QStringLiteral("verlauf-lesen-%1").arg(quintptr(reader), 0, 16);
}

} // namespace

HistoryReader::HistoryReader(QString file)
    : m_file(std::move(file)), m_connection(connectionName(this)) {}

HistoryReader::~HistoryReader() {
    close();
}

HistoryReader::State HistoryReader::open() {
    if (m_open)
        return State::Readable;
    m_problem.clear();
    const QFileInfo info(m_file);
    if (!m_file.isEmpty() && !info.exists() && !info.isSymLink())
        return State::Empty;
    // A WAL file needs its shared index, which a reader can make only where it may write; in a
    // folder it may not, the file is read as it lies (no one can be writing it there).
    if (!tryOpen(false) && !tryOpen(true)) {
        m_problem = QCoreApplication::translate("HistoryReader",
                                                "Der Übungsverlauf „%1“ kann nicht gelesen werden.")
                        .arg(QDir::toNativeSeparators(m_file));
        return State::Unreadable;
    }
    bool empty = false;
    {
        QSqlQuery query(database());
        empty = query.exec(QStringLiteral("PRAGMA user_version")) && query.next() &&
                query.value(0).toInt() == 0;
    }
    if (!empty)
        return State::Readable;
    close();
    return State::Empty;
}

bool HistoryReader::tryOpen(bool immutable) {
    close();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
        if (immutable) {
            db.setDatabaseName(QUrl::fromLocalFile(QFileInfo(m_file).absoluteFilePath())
                                   .toString(QUrl::FullyEncoded) +
                               QStringLiteral("?immutable=1"));
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI;"
                                                "QSQLITE_BUSY_TIMEOUT=0"));
        } else {
            db.setDatabaseName(m_file);
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=0"));
        }
        if (db.open()) {
            // SQLite reads the file first here.
            QSqlQuery query(db);
            m_open = query.exec(QStringLiteral("PRAGMA schema_version")) && query.next();
        }
    }
    if (!m_open)
        close();
    return m_open;
}

void HistoryReader::close() {
    m_open = false;
    if (!QSqlDatabase::contains(m_connection))
        return;
    QSqlDatabase::database(m_connection, false).close();
    QSqlDatabase::removeDatabase(m_connection);
}

QSqlDatabase HistoryReader::database() const {
    return m_open ? QSqlDatabase::database(m_connection, false) : QSqlDatabase();
}

std::vector<NoteRecord> readNoteRecords(const QSqlDatabase& db,
                                        const QList<UnwrittenExercise>& unwritten, Clef clef,
                                        bool earTraining, const std::vector<SpelledNote>& notes) {
    // Whether each of a note's latest tasks was missed, newest first.
    std::vector<std::vector<bool>> latest(notes.size());
    const auto full = [](const std::vector<bool>& tasks) {
        return int(tasks.size()) >= WeakNoteWindow;
    };
    // A row may reach the file between the copy of the unwritten ones and the read. A row is
    // told by its exercise's start, its task and its place in the task's phrase.
    using RowKey = std::pair<qint64, std::pair<int, int>>;
    QSet<RowKey> unwrittenTasks;
    for (auto exercise = unwritten.crbegin(); exercise != unwritten.crend(); ++exercise) {
        if (exercise->start.clef != clef || exercise->start.earTraining != earTraining)
            continue;
        for (auto task = exercise->tasks.crbegin(); task != exercise->tasks.crend(); ++task) {
            const auto note = std::find(notes.begin(), notes.end(), task->outcome.askedNote);
            if (note != notes.end() && !full(latest[std::size_t(note - notes.begin())]))
                latest[std::size_t(note - notes.begin())].push_back(!task->outcome.right);
            unwrittenTasks.insert({exercise->start.startedAt.toMSecsSinceEpoch(),
                                   {task->outcome.task, task->outcome.place}});
        }
    }
    if (db.isOpen()) {
        QSqlQuery query(db);
        query.setForwardOnly(true);
        query.prepare(QStringLiteral("SELECT t.correct, e.started_at, t.number, t.place FROM task t"
                                     " JOIN exercise e ON e.id = t.exercise_id"
                                     " WHERE t.clef = ? AND t.ear_training = ?"
                                     " AND t.asked_step = ? AND t.asked_alteration = ?"
                                     " ORDER BY t.id DESC LIMIT ?"));
        for (std::size_t i = 0; i < notes.size(); ++i) {
            query.addBindValue(clefKey(clef));
            query.addBindValue(earTraining);
            query.addBindValue(notes[i].step);
            query.addBindValue(notes[i].alteration);
            query.addBindValue(WeakNoteWindow);
            if (!query.exec())
                break;
            while (!full(latest[i]) && query.next())
                if (!unwrittenTasks.contains({query.value(1).toLongLong(),
                                              {query.value(2).toInt(), query.value(3).toInt()}}))
                    latest[i].push_back(!query.value(0).toBool());
            query.finish();
        }
    }
    std::vector<NoteRecord> records;
    for (const std::vector<bool>& tasks : latest)
        records.push_back({int(tasks.size()), int(std::count(tasks.begin(), tasks.end(), true))});
    return records;
}
