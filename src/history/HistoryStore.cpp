#include "history/HistoryStore.h"

#include "history/ClefKey.h"
#include "history/Schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QVariant>

namespace {

// A second copy of the program writing at the same moment waits its turn this long.
constexpr int BusyTimeoutMs = 5000;

// Unique among all the stores of the process, also those of the statistics window's library.
QString connectionName(const void* store) {
    return QStringLiteral("verlauf-%1").arg(quintptr(store), 0, 16);
}

QString shown(const QString& file) {
    return QDir::toNativeSeparators(file);
}

QString inputKey(AnswerInput input) {
    switch (input) {
    case AnswerInput::Buttons:
        return QStringLiteral("buttons");
    case AnswerInput::ScreenKeyboard:
        return QStringLiteral("screen_keyboard");
    case AnswerInput::Midi:
        return QStringLiteral("midi");
    case AnswerInput::Microphone:
        return QStringLiteral("microphone");
    }
    return {};
}

// SQLITE_CORRUPT and SQLITE_NOTADB.
bool isDamage(const QSqlError& error) {
    const QString code = error.nativeErrorCode();
    return code == QLatin1String("11") || code == QLatin1String("26");
}

QString unwritableNotice(const QString& file) {
    return QCoreApplication::translate(
               "HistoryStore", "Der Übungsverlauf kann nicht gespeichert werden, weil „%1“ nicht "
                               "beschrieben werden kann (Ordner schreibgeschützt oder voll).\nDie "
                               "Übungen laufen weiter, werden aber nicht aufgezeichnet.")
        .arg(shown(file));
}

// Switching the journal needs the file to itself and does not wait for a busy file: while a
// second copy holds it, try again until the busy time-out.
bool switchToWal(QSqlQuery& query) {
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        if (query.exec(QStringLiteral("PRAGMA journal_mode=WAL")) && query.next())
            return query.value(0).toString() == QLatin1String("wal");
        // SQLITE_BUSY; anything else will not pass by waiting.
        if (query.lastError().nativeErrorCode() != QLatin1String("5") ||
            waited.elapsed() > BusyTimeoutMs)
            return false;
        QThread::msleep(20);
    }
}

} // namespace

HistoryStore::HistoryStore(QString file, Check check)
    : m_file(std::move(file)), m_connection(connectionName(this)), m_check(check) {}

HistoryStore::~HistoryStore() {
    close();
}

bool HistoryStore::open() {
    if (std::exchange(m_tried, true))
        return m_open;
    switch (tryOpen()) {
    case Opened::Ok:
        break;
    case Opened::Damaged: {
        close();
        const QString aside = setAside();
        if (aside.isEmpty() || tryOpen() != Opened::Ok) {
            fail(unwritableNotice(m_file));
            break;
        }
        fail(QCoreApplication::translate(
                 "HistoryStore", "Die Verlaufsdatei „%1“ war beschädigt. Sie wurde als „%2“ "
                                 "beiseitegelegt, und ein neuer Verlauf wurde begonnen.")
                 .arg(shown(m_file), QFileInfo(aside).fileName()));
        m_open = true;
        break;
    }
    case Opened::Unwritable:
        fail(unwritableNotice(m_file));
        break;
    case Opened::Newer:
        fail(QCoreApplication::translate(
                 "HistoryStore", "Die Verlaufsdatei „%1“ stammt von einer neueren Version des "
                                 "Programms.\nDie Übungen laufen weiter, werden aber nicht "
                                 "aufgezeichnet.")
                 .arg(shown(m_file)));
        break;
    }
    if (!m_open)
        close();
    return m_open;
}

HistoryStore::Opened HistoryStore::tryOpen() {
    if (m_file.isEmpty() || !QDir().mkpath(QFileInfo(m_file).absolutePath()))
        return Opened::Unwritable;
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(m_file);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs));
    if (!db.open())
        return Opened::Unwritable;

    QSqlQuery query(db);
    // SQLite reads the file first here: anything but a sound database fails now. A file locked
    // by another copy past the busy time-out is not damaged.
    const QString check = m_check == Check::Whole ? QStringLiteral("PRAGMA quick_check(1)")
                                                  : QStringLiteral("PRAGMA schema_version");
    if (!query.exec(check))
        return isDamage(query.lastError()) ? Opened::Damaged : Opened::Unwritable;
    if (!query.next() ||
        (m_check == Check::Whole && query.value(0).toString() != QLatin1String("ok")))
        return Opened::Damaged;
    if (!switchToWal(query))
        return Opened::Unwritable;
    query.exec(QStringLiteral("PRAGMA synchronous=FULL"));
    // Taking the write lock first keeps a second copy starting at the same moment from making
    // the tables twice.
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return Opened::Unwritable;
    const Opened migrated = migrate(query);
    if (migrated != Opened::Ok || !query.exec(QStringLiteral("COMMIT"))) {
        query.exec(QStringLiteral("ROLLBACK"));
        return migrated == Opened::Ok ? Opened::Unwritable : migrated;
    }
    m_open = true;
    return Opened::Ok;
}

// Brings the tables from the file's schema version to this program's.
HistoryStore::Opened HistoryStore::migrate(QSqlQuery& query) {
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        return Opened::Unwritable;
    const auto& migrations = schemaMigrations();
    const int version = query.value(0).toInt();
    if (version > int(migrations.size()))
        return Opened::Newer;
    for (int step = version; step < int(migrations.size()); ++step)
        for (const QString& statement : migrations[step])
            if (!query.exec(statement))
                return Opened::Unwritable;
    if (version < int(migrations.size()) &&
        !query.exec(QStringLiteral("PRAGMA user_version=%1").arg(migrations.size())))
        return Opened::Unwritable;
    return Opened::Ok;
}

void HistoryStore::close() {
    m_open = false;
    if (!QSqlDatabase::contains(m_connection))
        return;
    QSqlDatabase::database(m_connection, false).close();
    QSqlDatabase::removeDatabase(m_connection);
}

// Moves the damaged file (and its journal) aside under a dated name; the name, or empty.
QString HistoryStore::setAside() {
    const QFileInfo info(m_file);
    const QString aside = info.absoluteDir().filePath(
        QStringLiteral("%1-beschaedigt-%2.%3")
            .arg(info.completeBaseName(),
                 QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss")),
                 info.suffix()));
    if (!QFile::rename(m_file, aside))
        return {};
    QFile::rename(m_file + QStringLiteral("-wal"), aside + QStringLiteral("-wal"));
    QFile::remove(m_file + QStringLiteral("-shm"));
    return aside;
}

bool HistoryStore::run(QSqlQuery& query) {
    if (query.exec())
        return true;
    fail(unwritableNotice(m_file));
    return false;
}

void HistoryStore::fail(const QString& notice) {
    if (!m_noticeGiven && m_notice.isEmpty())
        m_notice = notice;
}

QString HistoryStore::takeNotice() {
    if (m_notice.isEmpty())
        return {};
    m_noticeGiven = true;
    return std::exchange(m_notice, QString());
}

QSqlDatabase HistoryStore::database() const {
    return m_open ? QSqlDatabase::database(m_connection, false) : QSqlDatabase();
}

std::optional<qint64> HistoryStore::beginExercise(const ExerciseStart& start) {
    if (!open())
        return std::nullopt;
    QSqlQuery query(database());
    if (!insertExercise(query, QStringLiteral("INSERT"), QVariant(), start))
        return std::nullopt;
    return query.lastInsertId().toLongLong();
}

void HistoryStore::keepExercise(qint64 exercise, const ExerciseStart& start) {
    if (!m_open)
        return;
    QSqlQuery query(database());
    insertExercise(query, QStringLiteral("INSERT OR IGNORE"), exercise, start);
}

bool HistoryStore::insertExercise(QSqlQuery& query, const QString& verb, const QVariant& id,
                                  const ExerciseStart& start) {
    query.prepare(verb + QStringLiteral(" INTO exercise (id, started_at, clef, ear_training,"
                                        " lowest, highest, note_shown_ms, time_per_note_cs,"
                                        " keyboard_practice) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const QVariant& value :
         {id, QVariant(start.startedAt.toMSecsSinceEpoch()), QVariant(clefKey(start.clef)),
          QVariant(start.earTraining), QVariant(start.lowest), QVariant(start.highest),
          QVariant(start.noteShownMs), QVariant(start.timePerNoteHundredths),
          QVariant(start.keyboardPractice)})
        query.addBindValue(value);
    return run(query);
}

void HistoryStore::recordTask(qint64 exercise, const TaskOutcome& outcome, const QDateTime& at) {
    if (!m_open)
        return;
    QSqlQuery query(database());
    query.prepare(QStringLiteral("INSERT INTO task (exercise_id, number, ended_at, asked, chosen,"
                                 " correct, answer_ms, input) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    query.addBindValue(exercise);
    query.addBindValue(outcome.task);
    query.addBindValue(at.toMSecsSinceEpoch());
    query.addBindValue(outcome.asked);
    query.addBindValue(outcome.chosen ? QVariant(*outcome.chosen) : QVariant());
    query.addBindValue(outcome.right);
    query.addBindValue(outcome.answerMs);
    query.addBindValue(outcome.input ? QVariant(inputKey(*outcome.input)) : QVariant());
    run(query);
}

void HistoryStore::endExercise(qint64 exercise, bool aborted, int errors) {
    if (!m_open)
        return;
    QSqlQuery query(database());
    query.prepare(QStringLiteral("UPDATE exercise SET outcome = ?, errors = ? WHERE id = ?"));
    query.addBindValue(aborted ? QStringLiteral("aborted") : QStringLiteral("finished"));
    query.addBindValue(errors);
    query.addBindValue(exercise);
    run(query);
}

NoteRecords HistoryStore::noteRecords(Clef clef, bool earTraining) {
    NoteRecords records{};
    if (!open())
        return records;
    QSqlQuery query(database());
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT asked, COUNT(*), SUM(NOT correct) FROM ("
                       " SELECT t.asked, t.correct,"
                       " ROW_NUMBER() OVER (PARTITION BY t.asked ORDER BY t.id DESC) AS recent"
                       " FROM task t JOIN exercise e ON e.id = t.exercise_id"
                       " WHERE e.clef = ? AND e.ear_training = ?)"
                       " WHERE recent <= ? GROUP BY asked"));
    query.addBindValue(clefKey(clef));
    query.addBindValue(earTraining);
    query.addBindValue(WeakNoteWindow);
    if (!query.exec())
        return records;
    while (query.next()) {
        const int note = query.value(0).toInt();
        if (note >= 0 && note < NoteCount)
            records[note] = {query.value(1).toInt(), query.value(2).toInt()};
    }
    return records;
}

bool HistoryStore::clear() {
    if (!open())
        return false;
    QSqlDatabase db = database();
    QSqlQuery query(db);
    const bool cleared = db.transaction() && query.exec(QStringLiteral("DELETE FROM task")) &&
                         query.exec(QStringLiteral("DELETE FROM exercise")) && db.commit();
    if (!cleared)
        db.rollback();
    return cleared;
}
