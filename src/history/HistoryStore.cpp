#include "history/HistoryStore.h"

#include "history/ClefKey.h"
#include "history/InputKey.h"
#include "history/KeptRows.h"
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

// A row's id as it is stored; NULL for none.
QVariant rowIdValue(const QUuid& id) {
    return id.isNull() ? QVariant() : QVariant(id.toRfc4122());
}

// A second copy of the program writing at the same moment waits its turn this long; a file held
// longer is tried again later, with the rows kept in memory meanwhile.
constexpr int BriefWaitMs = 200;

// Unique among all the stores of the process, also those of the statistics window's library.
QString connectionName(const void* store) {
    return QStringLiteral("verlauf-%1").arg(quintptr(store), 0, 16);
}

QString shown(const QString& file) {
    return QDir::toNativeSeparators(file);
}

// SQLite's primary result code, also when the driver gives an extended one.
int resultCode(const QSqlError& error) {
    return error.nativeErrorCode().toInt() & 0xff;
}

// SQLITE_BUSY and SQLITE_LOCKED: another connection holds the file, which will pass.
bool isBusy(const QSqlError& error) {
    const int code = resultCode(error);
    return code == 5 || code == 6;
}

// SQLITE_CORRUPT and SQLITE_NOTADB.
bool isDamage(const QSqlError& error) {
    const int code = resultCode(error);
    return code == 11 || code == 26;
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
// False with the query's error, or without one when the file keeps another journal.
bool switchToWal(QSqlQuery& query, int busyTimeoutMs) {
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        if (query.exec(QStringLiteral("PRAGMA journal_mode=WAL")) && query.next())
            return query.value(0).toString() == QLatin1String("wal");
        // Anything but a busy file will not pass by waiting.
        if (!isBusy(query.lastError()) || waited.elapsed() >= busyTimeoutMs)
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

HistoryStore::State HistoryStore::open() {
    if (m_open)
        return State::Open;
    if (m_off)
        return State::Off;
    switch (tryOpen()) {
    case Opened::Ok:
        m_open = true;
        return State::Open;
    case Opened::Busy:
        close();
        return State::Busy;
    case Opened::Damaged:
        if (startAnew())
            return State::Open;
        fail(unwritableNotice(m_file));
        break;
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
    close();
    m_off = true;
    return State::Off;
}

namespace {

// What a failed open or write comes to.
template <typename Result>
Result judged(const QSqlError& error, Result busy, Result damaged, Result otherwise) {
    if (isBusy(error))
        return busy;
    return isDamage(error) ? damaged : otherwise;
}

} // namespace

HistoryStore::Opened HistoryStore::tryOpen() {
    if (m_file.isEmpty() || !QDir().mkpath(QFileInfo(m_file).absolutePath()))
        return Opened::Unwritable;
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(m_file);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BriefWaitMs));
    if (!db.open())
        return Opened::Unwritable;

    QSqlQuery query(db);
    const auto failed = [&query] {
        return judged(query.lastError(), Opened::Busy, Opened::Damaged, Opened::Unwritable);
    };
    // SQLite reads the file first here: anything but a sound database fails now.
    const QString check = m_check == Check::Whole ? QStringLiteral("PRAGMA quick_check(1)")
                                                  : QStringLiteral("PRAGMA schema_version");
    if (!query.exec(check))
        return failed();
    if (!query.next() ||
        (m_check == Check::Whole && query.value(0).toString() != QLatin1String("ok")))
        return Opened::Damaged;
    // Read through once; tried again after a busy file, it need not be read again.
    m_check = Check::Trusted;
    if (!switchToWal(query, BriefWaitMs))
        return failed();
    // Foreign keys stay off while the tables are migrated: a table made anew drops the old one,
    // and with them on, that drop would delete every task of it.
    query.exec(QStringLiteral("PRAGMA foreign_keys=OFF"));
    query.exec(QStringLiteral("PRAGMA synchronous=FULL"));
    // Taking the write lock first keeps a second copy starting at the same moment from making
    // the tables twice.
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return failed();
    Opened migrated = migrate(query);
    if (migrated == Opened::Ok && !query.exec(QStringLiteral("COMMIT")))
        migrated = failed();
    if (migrated != Opened::Ok) {
        query.exec(QStringLiteral("ROLLBACK"));
        return migrated;
    }
    // Per connection: without it SQLite keeps no foreign key, and deletes cascade nowhere.
    query.exec(QStringLiteral("PRAGMA foreign_keys=ON"));
    return migrated;
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

// Sets the damaged file aside and opens a new one in its place; says so.
bool HistoryStore::startAnew() {
    close();
    const QString aside = setAside();
    if (aside.isEmpty() || tryOpen() != Opened::Ok) {
        close();
        return false;
    }
    fail(QCoreApplication::translate("HistoryStore",
                                     "Die Verlaufsdatei „%1“ war beschädigt. Sie wurde als „%2“ "
                                     "beiseitegelegt, und ein neuer Verlauf wurde begonnen.")
             .arg(shown(m_file), QFileInfo(aside).fileName()));
    m_open = true;
    return true;
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

HistoryStore::Written HistoryStore::write(QList<UnwrittenExercise>& exercises) {
    const State state = open();
    if (state != State::Open)
        return state == State::Busy ? Written::Busy : Written::Off;
    QList<UnwrittenExercise> attempt = exercises;
    Step step = writeAll(attempt);
    if (step == Step::Damaged) {
        if (!startAnew()) {
            fail(unwritableNotice(m_file));
            m_off = true;
            return Written::Off;
        }
        attempt = exercises;
        step = writeAll(attempt);
    }
    switch (step) {
    case Step::Done:
        exercises = attempt;
        return Written::Yes;
    case Step::Busy:
        return Written::Busy;
    case Step::Damaged:
    case Step::Failed:
        break;
    }
    fail(unwritableNotice(m_file));
    close();
    m_off = true;
    return Written::Off;
}

// All of them or nothing: a task is never half in the file.
HistoryStore::Step HistoryStore::writeAll(QList<UnwrittenExercise>& exercises) {
    QSqlQuery query(database());
    const auto failed = [&query] {
        const Step step = judged(query.lastError(), Step::Busy, Step::Damaged, Step::Failed);
        query.exec(QStringLiteral("ROLLBACK"));
        return step;
    };
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return judged(query.lastError(), Step::Busy, Step::Damaged, Step::Failed);
    for (UnwrittenExercise& exercise : exercises)
        if (!writeExercise(query, exercise))
            return failed();
    if (!query.exec(QStringLiteral("COMMIT")))
        return failed();
    return Step::Done;
}

bool HistoryStore::writeExercise(QSqlQuery& query, UnwrittenExercise& exercise) {
    if (!exercise.id) {
        if (!insertExercise(query, QVariant(), exercise))
            return false;
    } else if (!exercise.tasks.isEmpty() && !keepRow(query, exercise)) {
        return false;
    }
    for (const RecordedTask& task : exercise.tasks) {
        const TaskOutcome& outcome = task.outcome;
        const std::optional<SpelledNote>& chosen = outcome.chosenNote;
        query.prepare(QStringLiteral(
            "INSERT INTO task (exercise_id, number, ended_at, asked, chosen, correct, answer_ms,"
            " input, key_fifths, asked_step, asked_alteration, asked_pitch, chosen_step,"
            " chosen_alteration, chosen_pitch, spelling_judged, row_id, clef, ear_training, place)"
            " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"
            " ON CONFLICT (row_id) DO NOTHING"));
        query.addBindValue(*exercise.id);
        query.addBindValue(outcome.task);
        query.addBindValue(task.endedAt.toMSecsSinceEpoch());
        query.addBindValue(outcome.askedIndex);
        query.addBindValue(outcome.chosenIndex ? QVariant(*outcome.chosenIndex) : QVariant());
        query.addBindValue(outcome.right);
        query.addBindValue(outcome.answerMs);
        query.addBindValue(outcome.input ? QVariant(inputKey(*outcome.input)) : QVariant());
        query.addBindValue(outcome.key.fifths);
        query.addBindValue(outcome.askedNote.step);
        query.addBindValue(outcome.askedNote.alteration);
        query.addBindValue(outcome.askedNote.midiPitch());
        query.addBindValue(chosen ? QVariant(chosen->step) : QVariant());
        query.addBindValue(chosen ? QVariant(chosen->alteration) : QVariant());
        query.addBindValue(chosen ? QVariant(chosen->midiPitch()) : QVariant());
        query.addBindValue(outcome.spellingJudged);
        query.addBindValue(rowIdValue(task.rowId));
        query.addBindValue(clefKey(exercise.start.clef));
        query.addBindValue(exercise.start.earTraining);
        query.addBindValue(outcome.place);
        if (!query.exec())
            return false;
    }
    if (!exercise.end)
        return true;
    query.prepare(QStringLiteral("UPDATE exercise SET outcome = ?, errors = ? WHERE id = ?"));
    query.addBindValue(exercise.end->aborted ? QStringLiteral("aborted")
                                             : QStringLiteral("finished"));
    query.addBindValue(exercise.end->errors);
    query.addBindValue(*exercise.id);
    return query.exec();
}

// The row of an exercise written before: written again under its id if the record was cleared
// since, or anew if the id has come to name another exercise.
bool HistoryStore::keepRow(QSqlQuery& query, UnwrittenExercise& exercise) {
    query.prepare(QStringLiteral("SELECT started_at FROM exercise WHERE id = ?"));
    query.addBindValue(*exercise.id);
    if (!query.exec())
        return false;
    if (!query.next())
        return insertExercise(query, *exercise.id, exercise);
    if (query.value(0).toLongLong() == exercise.start.startedAt.toMSecsSinceEpoch())
        return true;
    return insertExercise(query, QVariant(), exercise);
}

// Gives the exercise the id of its row: a new one, or the one written before under its row's id.
bool HistoryStore::insertExercise(QSqlQuery& query, const QVariant& id,
                                  UnwrittenExercise& exercise) {
    const ExerciseStart& start = exercise.start;
    query.prepare(QStringLiteral("INSERT INTO exercise (id, started_at, clef, ear_training,"
                                 " lowest, highest, note_shown_ms, time_per_note_cs,"
                                 " keyboard_practice, row_id, notes_per_task)"
                                 " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"
                                 " ON CONFLICT (row_id) DO NOTHING"));
    for (const QVariant& value :
         {id, QVariant(start.startedAt.toMSecsSinceEpoch()), QVariant(clefKey(start.clef)),
          QVariant(start.earTraining), QVariant(start.lowest), QVariant(start.highest),
          QVariant(start.noteShownMs), QVariant(start.timePerNoteHundredths),
          QVariant(start.keyboardPractice), rowIdValue(exercise.rowId),
          QVariant(start.notesPerTask)})
        query.addBindValue(value);
    if (!query.exec())
        return false;
    if (query.numRowsAffected() == 1) {
        exercise.id = query.lastInsertId().toLongLong();
        return true;
    }
    query.prepare(QStringLiteral("SELECT id FROM exercise WHERE row_id = ?"));
    query.addBindValue(rowIdValue(exercise.rowId));
    if (!query.exec() || !query.next())
        return false;
    exercise.id = query.value(0).toLongLong();
    return true;
}

HistoryStore::Cleared HistoryStore::clear() {
    const State state = open();
    if (state != State::Open)
        return state == State::Busy ? Cleared::Busy : Cleared::Failed;
    QSqlQuery query(database());
    const bool cleared = query.exec(QStringLiteral("BEGIN IMMEDIATE")) &&
                         query.exec(QStringLiteral("DELETE FROM task")) &&
                         query.exec(QStringLiteral("DELETE FROM exercise")) &&
                         query.exec(QStringLiteral("COMMIT"));
    if (cleared) {
        // Rows kept from an earlier run go with the rest.
        dropKeptRows(m_file);
        return Cleared::Yes;
    }
    const bool busy = isBusy(query.lastError());
    query.exec(QStringLiteral("ROLLBACK"));
    return busy ? Cleared::Busy : Cleared::Failed;
}
