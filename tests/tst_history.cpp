// The record of the tasks: what an exercise leaves in it, and the files it cannot use as they are.
#include "FakeExercise.h"
#include "history/CsvExport.h"
#include "history/HistoryReport.h"
#include "history/HistoryStore.h"
#include "history/Schema.h"
#include "history/TaskRecorder.h"
#include "training/Exercise.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

#include <thread>

namespace {

// The rows a query gives, each as its values joined by "|" (NULL as "-").
QStringList rows(const QString& file, const QString& sql) {
    QStringList result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "reader");
        db.setDatabaseName(file);
        db.open();
        QSqlQuery query(db);
        query.exec(sql);
        while (query.next()) {
            QStringList values;
            for (int i = 0; i < query.record().count(); ++i)
                values.append(query.isNull(i) ? QStringLiteral("-") : query.value(i).toString());
            result.append(values.join(u'|'));
        }
    }
    QSqlDatabase::removeDatabase("reader");
    return result;
}

const QString TaskRows =
    QStringLiteral("SELECT number, asked, chosen, correct, input FROM task ORDER BY id");

// An exercise alone, drawing `note` every time, whose tasks are recorded in `file`.
struct Recorded {
    explicit Recorded(const QString& file, int note = 4) {
        world.randomValue = (note + 0.5) / 15;
        recorder = std::make_unique<TaskRecorder>(exercise, file);
    }
    void start() {
        exercise.chooseMode(Clef::Violin, false);
        exercise.Start({0, 14, 2000, 400, false, false});
    }
    FakeExerciseWorld world;
    Exercise& exercise = world.exercise;
    std::unique_ptr<TaskRecorder> recorder;
};

} // namespace

class HistoryTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(folder.isValid()); }

    void wholeExerciseWithAMistakeAndATimeOut() {
        const QString file = folder.filePath("whole.sqlite");
        Recorded r(file);
        QSignalSpy recorded(r.recorder.get(), &TaskRecorder::recorded);
        r.start();
        r.exercise.answer(4);
        r.exercise.answer(6, AnswerInput::ScreenKeyboard);
        r.exercise.tmrNoteFalsch_Timer();
        r.exercise.ZeitVergangen(400);
        for (int task = 4; task <= 25; ++task)
            r.exercise.answerFromInstrument(4);
        QCOMPARE(r.exercise.state(), ExerciseState::Idle);
        r.recorder->waitForWrites();
        QTRY_COMPARE(recorded.count(), 26);

        const QStringList tasks = rows(file, TaskRows);
        QCOMPARE(tasks.size(), 25);
        QCOMPARE(tasks[0], QString("1|4|4|1|buttons"));
        QCOMPARE(tasks[1], QString("2|4|6|0|screen_keyboard"));
        QCOMPARE(tasks[2], QString("3|4|-|0|-"));
        QCOMPARE(tasks[24], QString("25|4|4|1|midi"));
        QCOMPARE(rows(file, "SELECT clef, ear_training, lowest, highest, note_shown_ms,"
                            " time_per_note_cs, keyboard_practice, outcome, errors FROM exercise"),
                 QStringList{"Violin|0|0|14|2000|400|0|finished|2"});
        QCOMPARE(rows(file, "SELECT COUNT(*) FROM task t JOIN exercise e ON e.id = t.exercise_id"
                            " WHERE t.ended_at >= e.started_at AND t.answer_ms >= 0"),
                 QStringList{"25"});
        QVERIFY(r.world.messages.size() == 2); // the time-out and the result, no notice

        HistoryStore reader(file, HistoryStore::Check::Trusted);
        QVERIFY(reader.open());
        const HistoryReport report =
            readReport(reader.database(), {Clef::Violin, ModeFilter::Both, {}});
        QCOMPARE(report.tasks, 25);
        QCOMPARE(report.wrong, 1);
        QCOMPARE(report.timedOut, 1);
        QCOMPARE(report.notes[4].missed, 2);
        QVERIFY(report.notes[4].medianMs);
        QCOMPARE(report.confusions.size(), 1);
        QCOMPARE(report.confusions[0].chosen, 6);
        QCOMPARE(report.finished.size(), 1);
        QCOMPARE(report.finished[0].errors, 2);
        QCOMPARE(readReport(reader.database(), {Clef::Violin, ModeFilter::EarTraining, {}}).tasks,
                 0);
        QCOMPARE(readReport(reader.database(), {Clef::Bass, ModeFilter::Both, {}}).tasks, 0);

        QBuffer csv;
        csv.open(QIODevice::WriteOnly);
        QVERIFY(writeCsv(reader.database(), csv));
        const QStringList lines = QString::fromUtf8(csv.data()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 26);
        QVERIFY(csv.data().startsWith("\xEF\xBB\xBFZeitpunkt;Schlüssel;Art;Eingabe;"));
        QVERIFY2(lines[2].contains(";Violinschlüssel;Lesen;Bildschirm-Keyboard;c';e';nein;"),
                 qPrintable(lines[2]));
        QVERIFY2(lines[3].contains(";Zeit abgelaufen;c';;nein;"), qPrintable(lines[3]));
    }

    void abortedExerciseKeepsItsFinishedTasks() {
        const QString file = folder.filePath("aborted.sqlite");
        Recorded r(file);
        r.start();
        r.exercise.answer(4);
        r.exercise.answer(4);
        r.exercise.abort();
        r.recorder->waitForWrites();
        QCOMPARE(rows(file, TaskRows).size(), 2);
        QCOMPARE(rows(file, "SELECT outcome, errors FROM exercise"), QStringList{"aborted|0"});

        // "Verlauf löschen…" leaves an empty record.
        QVERIFY(HistoryStore(file, HistoryStore::Check::Trusted).clear());
        QCOMPARE(rows(file, "SELECT COUNT(*) FROM task"), QStringList{"0"});
        QCOMPARE(rows(file, "SELECT COUNT(*) FROM exercise"), QStringList{"0"});
    }

    // Cleared while an exercise runs: its later tasks still belong to it.
    void clearedDuringAnExercise() {
        const QString file = folder.filePath("cleared.sqlite");
        Recorded r(file);
        r.start();
        r.exercise.answer(4);
        r.recorder->waitForWrites();
        QVERIFY(HistoryStore(file, HistoryStore::Check::Trusted).clear());
        r.exercise.answer(4);
        r.exercise.answer(3);
        r.exercise.abort();
        r.recorder->waitForWrites();
        QCOMPARE(rows(file, "SELECT t.number, e.outcome, e.errors FROM task t"
                            " JOIN exercise e ON e.id = t.exercise_id ORDER BY t.id"),
                 (QStringList{"2|aborted|1", "3|aborted|1"}));
    }

    // Weak notes are judged by each note's own most recent tasks.
    void noteRecordsLookAtTheLatestTasks() {
        const QString file = folder.filePath("latest.sqlite");
        HistoryStore store(file);
        const auto id = store.beginExercise(
            {QDateTime::currentDateTime(), Clef::Bass, true, 0, 14, 2000, 400, false});
        QVERIFY(id);
        for (int i = 0; i < 250; ++i)
            store.recordTask(*id, {1, 3, i < 50 ? 2 : 3, i >= 50, 800, AnswerInput::Buttons},
                             QDateTime::currentDateTime());
        store.recordTask(*id, {1, 9, std::nullopt, false, 4000, std::nullopt},
                         QDateTime::currentDateTime());
        const NoteRecords records = store.noteRecords(Clef::Bass, true);
        QCOMPARE(records[3].asked, 200);
        QCOMPARE(records[3].missed, 0);
        QCOMPARE(records[9].asked, 1);
        QCOMPARE(records[9].missed, 1);
        QCOMPARE(store.noteRecords(Clef::Bass, false)[3].asked, 0);
        QCOMPARE(store.noteRecords(Clef::Violin, true)[3].asked, 0);
    }

    // A record of the first schema, from before the alto and tenor clefs: its rows stay, and the
    // C clefs are recorded beside them, each clef on its own.
    void recordOfTheFirstSchemaTakesTheCClefs() {
        const QString file = folder.filePath("first-schema.sqlite");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "old");
            db.setDatabaseName(file);
            QVERIFY(db.open());
            QSqlQuery query(db);
            for (const QString& statement : schemaMigrations().front())
                QVERIFY(query.exec(statement));
            QVERIFY(query.exec("PRAGMA user_version = 1"));
            QVERIFY(query.exec("INSERT INTO exercise VALUES (7, 1000, 'Bass', 0, 0, 14, 2000, 400,"
                               " 0, 'finished', 1)"));
            QVERIFY(query.exec("INSERT INTO task VALUES (1, 7, 1, 2000, 3, 2, 0, 800, 'midi')"));
            QVERIFY(!query.exec("INSERT INTO exercise VALUES (8, 1000, 'Alto', 0, 0, 14, 2000,"
                                " 400, 0, 'finished', 0)"));
        }
        QSqlDatabase::removeDatabase("old");

        HistoryStore store(file);
        const auto alto = store.beginExercise(
            {QDateTime::currentDateTime(), Clef::Alto, false, 0, 14, 2000, 400, false});
        QVERIFY(alto);
        store.recordTask(*alto, {1, 3, 3, true, 700, AnswerInput::Microphone},
                         QDateTime::currentDateTime());
        const auto tenor = store.beginExercise(
            {QDateTime::currentDateTime(), Clef::Tenor, true, 0, 14, 2000, 400, false});
        QVERIFY(tenor);
        QCOMPARE(store.noteRecords(Clef::Bass, false)[3].missed, 1);
        QCOMPARE(store.noteRecords(Clef::Alto, false)[3].asked, 1);
        QCOMPARE(store.noteRecords(Clef::Alto, false)[3].missed, 0);
        QCOMPARE(store.noteRecords(Clef::Tenor, false)[3].asked, 0);

        QCOMPARE(rows(file, "PRAGMA user_version"),
                 QStringList{QString::number(schemaMigrations().size())});
        QCOMPARE(rows(file, "SELECT e.id, e.clef, t.asked, t.chosen FROM task t"
                            " JOIN exercise e ON e.id = t.exercise_id ORDER BY t.id"),
                 (QStringList{"7|Bass|3|2", QString("%1|Alto|3|3").arg(*alto)}));
        QCOMPARE(rows(file, "SELECT name FROM sqlite_master WHERE type = 'index' ORDER BY name"),
                 (QStringList{"exercise_by_mode", "task_by_exercise"}));
        QCOMPARE(rows(file, "PRAGMA foreign_key_check"), QStringList{});

        QBuffer csv;
        csv.open(QIODevice::WriteOnly);
        QVERIFY(writeCsv(store.database(), csv));
        QVERIFY2(csv.data().contains(";Altschlüssel;Lesen;Mikrofon;f;f;ja;"),
                 csv.data().constData());
    }

    void filesItCannotUse_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("notice");
        QTest::addColumn<bool>("records");
        QTest::newRow("not a database")
            << "text"
            << "war beschädigt. Sie wurde als „verlauf-beschaedigt-" << true;
        QTest::newRow("damaged database")
            << "damaged"
            << "war beschädigt. Sie wurde als „verlauf-beschaedigt-" << true;
        // A regular file where the folder should be stops root as well.
        QTest::newRow("folder cannot be made") << "folder is a file"
                                               << "nicht beschrieben werden kann" << false;
        QTest::newRow("from a newer program") << "newer"
                                              << "neueren Version" << false;
    }
    void filesItCannotUse() {
        QFETCH(QString, kind);
        QFETCH(QString, notice);
        QFETCH(bool, records);
        const QString dir = folder.filePath(QTest::currentDataTag());
        QDir().mkpath(dir);
        QString file = dir + "/verlauf.sqlite";
        QByteArray before;
        if (kind == "text") {
            before = "Einkaufsliste: Saiten, Kolophonium\n";
        } else if (kind == "damaged") {
            {
                HistoryStore good(file);
                const auto id = good.beginExercise(
                    {QDateTime::currentDateTime(), Clef::Violin, false, 0, 14, 2000, 400, false});
                for (int i = 0; i < 400; ++i)
                    good.recordTask(*id, {1, 2, 2, true, 500, AnswerInput::Buttons}, {});
            }
            QFile in(file);
            in.open(QIODevice::ReadOnly);
            before = in.readAll();
            before.replace(4096, 8192, QByteArray(8192, '\x5a'));
        } else if (kind == "folder is a file") {
            before = "kein Ordner";
            file = dir + "/blocked/verlauf.sqlite";
        } else if (kind == "newer") {
            rows(file, "PRAGMA user_version = 99");
        }
        if (!before.isEmpty()) {
            QFile out(kind == "folder is a file" ? dir + "/blocked" : file);
            out.open(QIODevice::WriteOnly);
            out.write(before);
        }

        Recorded r(file);
        QSignalSpy notices(r.recorder.get(), &TaskRecorder::notice);
        r.recorder->openStore();
        QTRY_COMPARE(notices.count(), 1);
        QVERIFY2(notices[0][0].toString().contains(notice), qPrintable(notices[0][0].toString()));
        r.start();
        r.exercise.answer(4);
        r.exercise.answer(5);
        r.exercise.tmrNoteFalsch_Timer();
        r.exercise.abort();
        r.recorder->waitForWrites();
        QTest::qWait(10);
        QCOMPARE(notices.count(), 1);         // once a run
        QCOMPARE(r.world.messages.size(), 1); // the exercise went on to its end
        QCOMPARE(rows(file, TaskRows).size(), records ? 2 : 0);
        if (kind == "text" || kind == "damaged") {
            const QStringList aside =
                QDir(dir).entryList({"verlauf-beschaedigt-*.sqlite"}, QDir::Files);
            QCOMPARE(aside.size(), 1);
            QFile kept(dir + "/" + aside[0]);
            kept.open(QIODevice::ReadOnly);
            QCOMPARE(kept.readAll(), before);
        }
    }

    // Another copy of the program holds the file while a task ends: the task waits its turn.
    void twoCopiesWriting() {
        const QString file = folder.filePath("two.sqlite");
        Recorded first(file);
        Recorded second(file, 7);
        QSignalSpy notices(first.recorder.get(), &TaskRecorder::notice);
        first.start();
        second.start();
        first.recorder->waitForWrites();
        second.recorder->waitForWrites();
        std::thread holder([&] {
            {
                QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "holder");
                db.setDatabaseName(file);
                db.open();
                QSqlQuery query(db);
                query.exec("BEGIN IMMEDIATE");
                query.exec("INSERT INTO exercise (started_at, clef, ear_training, lowest,"
                           " highest, note_shown_ms, time_per_note_cs, keyboard_practice)"
                           " VALUES (0, 'Bass', 0, 0, 14, 0, 0, 0)");
                std::this_thread::sleep_for(std::chrono::milliseconds(400));
                query.exec("COMMIT");
            }
            QSqlDatabase::removeDatabase("holder");
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        for (int i = 0; i < 3; ++i) {
            first.exercise.answer(4);
            second.exercise.answer(7, AnswerInput::Midi);
        }
        first.recorder->waitForWrites();
        second.recorder->waitForWrites();
        holder.join();
        QCOMPARE(rows(file, "SELECT asked, COUNT(*) FROM task GROUP BY asked"),
                 QStringList({"4|3", "7|3"}));
        QCOMPARE(rows(file, "SELECT COUNT(*) FROM exercise"), QStringList{"3"});
        QTest::qWait(10);
        QCOMPARE(notices.count(), 0);
    }

private:
    QTemporaryDir folder;
};

QTEST_MAIN(HistoryTest)
#include "tst_history.moc"
