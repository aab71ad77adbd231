// The record of the tasks: what an exercise leaves in it, the files it cannot use as they are, and
// the statistics window that shows it.
#include "FakeExercise.h"
#include "KeyboardWalk.h"
#include "ScreenReach.h"
#include "ScreenReaderNames.h"
#include "history/CsvExport.h"
#include "history/HistoryReader.h"
#include "history/HistoryReport.h"
#include "history/HistoryStore.h"
#include "history/KeptRows.h"
#include "history/Schema.h"
#include "history/TaskRecorder.h"
#include "settings/SettingsStore.h"
#include "statistics/StatisticsEntry.h"
#include "statistics/StatisticsLauncher.h"
#include "training/Exercise.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateTimeAxis>
#include <QKeySequence>
#include <QLabel>
#include <QLibrary>
#include <QLibraryInfo>
#include <QPushButton>
#include <QScopeGuard>
#include <QValueAxis>
#include <QXYSeries>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGraphicsView>
#include <QLabel>
#include <QLibrary>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>

#include <array>
#include <csignal>
#include <future>
#include <thread>

Q_DECLARE_METATYPE(SpelledNote)
Q_DECLARE_METATYPE(std::optional<SpelledNote>)
Q_DECLARE_METATYPE(NamingStyle)
Q_DECLARE_METATYPE(PhraseFilter)

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

// The schema versions of the program before it kept phrases.
constexpr int SchemaBeforePhrases = 7;

const QString TaskRows =
    QStringLiteral("SELECT number, asked, chosen, correct, input FROM task ORDER BY id");

// An exercise alone, drawing `note` every time, whose tasks are recorded in `file`.
struct Recorded {
    explicit Recorded(const QString& file, int note = 4) {
        world.randomValue = (note + 0.5) / 15;
        recorder = std::make_unique<TaskRecorder>(exercise, file);
    }
    void start(int notesPerTask = 1) {
        ExerciseSettings settings{0, 14, 2000, 400, false, false};
        settings.notesPerTask = notesPerTask;
        exercise.chooseMode(Clef::Violin, false);
        exercise.Start(settings);
    }
    FakeExerciseWorld world;
    Exercise& exercise = world.exercise;
    std::unique_ptr<TaskRecorder> recorder;
};

// Another program holding the record's write lock (BEGIN IMMEDIATE) until release().
class HeldRecord {
public:
    explicit HeldRecord(const QString& file) : m_thread([this, file] { hold(file); }) {
        m_held.get_future().wait();
    }
    ~HeldRecord() {
        release();
        m_thread.join();
    }
    void release() {
        if (!std::exchange(m_released, true))
            m_release.set_value();
    }

private:
    void hold(const QString& file) {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "holder");
            db.setDatabaseName(file);
            db.open();
            QSqlQuery query(db);
            query.exec("BEGIN IMMEDIATE");
            m_held.set_value();
            m_release.get_future().wait();
            query.exec("COMMIT");
        }
        QSqlDatabase::removeDatabase("holder");
    }
    std::promise<void> m_held;
    std::promise<void> m_release;
    bool m_released = false;
    std::thread m_thread;
};

// Files of this process may grow to `bytes` only, as on a nearly full disk: a write past it
// fails (EFBIG) rather than ending the process.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_before);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, m_before.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_before);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_before{};
    void (*m_handler)(int) = nullptr;
};

// The statistics window on `file`, from its library beside the program.
std::unique_ptr<QWidget> statisticsWindow(const QString& file) {
    QLibrary library(QStringLiteral(VIRELO_PROGRAM_DIR "/") + StatisticsLibraryName);
    const auto create =
        reinterpret_cast<CreateStatisticsWindow>(library.resolve(CreateStatisticsWindowSymbol));
    if (!create)
        qFatal("%s", qPrintable(library.errorString()));
    return std::unique_ptr<QWidget>(create(file, namingStyle()));
}

// The texts a window shows.
QStringList shownTexts(QWidget& window) {
    QStringList texts;
    for (const QLabel* label : window.findChildren<QLabel*>())
        if (label->isVisibleTo(&window))
            texts.append(label->text());
    return texts;
}

// The clef's natural notes by index, whose records the natural exercise weighs.
std::vector<SpelledNote> naturals(Clef clef) {
    std::vector<SpelledNote> notes;
    for (int index = 0; index < NoteCount; ++index)
        notes.push_back(*clefNote(clef, index));
    return notes;
}

// One exercise of `tasks` tasks, each asking `asked` and missing it when `missed` says so.
UnwrittenExercise exerciseOf(Clef clef, bool earTraining, const QList<std::pair<int, bool>>& tasks,
                             qint64 startedAt = 1'700'000'000'000) {
    UnwrittenExercise exercise{
        1, {QDateTime::fromMSecsSinceEpoch(startedAt), clef, earTraining, 0, 14, 2000, 400, false}};
    int number = 0;
    for (auto [asked, missed] : tasks) {
        const int chosen = missed ? asked + 1 : asked;
        exercise.tasks.append({{++number,
                                asked,
                                chosen,
                                !missed,
                                800,
                                AnswerInput::Buttons,
                                {},
                                *clefNote(clef, asked),
                                clefNote(clef, chosen)},
                               QDateTime::fromMSecsSinceEpoch(startedAt + number * 1000)});
    }
    return exercise;
}

// A record of `tasks` right answers to note 2, written as the program writes it.
void writeRecord(const QString& file, int tasks) {
    HistoryStore store(file);
    QList<UnwrittenExercise> exercises = {
        exerciseOf(Clef::Violin, false, QList<std::pair<int, bool>>(tasks, {2, false}))};
    QCOMPARE(store.write(exercises), HistoryStore::Written::Yes);
}

// Finished exercises starting at the given times, with so many errors, of one task each.
void writeExercises(const QString& file, const QList<std::pair<QDateTime, int>>& exercises,
                    int answerMs = 1000) {
    HistoryStore store(file);
    QList<UnwrittenExercise> written;
    for (const auto& [startedAt, errors] : exercises) {
        UnwrittenExercise exercise{written.size() + 1,
                                   {startedAt, Clef::Violin, false, 0, 14, 2000, 400, false}};
        const SpelledNote g = *clefNote(Clef::Violin, 4);
        exercise.tasks.append(
            {{1, 4, 4, true, answerMs, AnswerInput::Buttons, {}, g, g}, startedAt.addSecs(2)});
        exercise.end = ExerciseEnd{false, errors};
        written.append(exercise);
    }
    QCOMPARE(store.write(written), HistoryStore::Written::Yes);
}

// The statistics window, from its library, opened as the program opens it.
struct StatisticsWindow {
    explicit StatisticsWindow(
        const QString& file,
        const QString& library = StatisticsLauncher::libraryBeside(VIRELO_PROGRAM_DIR))
        : settings(file + ".ini"),
          launcher(library, file, settings,
                   [this](QWidget*, const QString& text, const QString&, MessageIcon,
                          const QString&) { messages.append(text); }) {}
    void open() { launcher.open(&owner); }
    QWidget* window() const {
        for (QWidget* shown : QApplication::topLevelWidgets()) {
            if (shown->windowTitle() == "Statistik" && shown->isVisible())
                return shown;
        }
        return nullptr;
    }
    QString sums() const {
        const QWidget* shown = window();
        const QLabel* sums = shown ? shown->findChild<QLabel*>("lblSummen") : nullptr;
        return sums ? sums->text() : QString();
    }
    SettingsStore settings;
    QStringList messages;
    QWidget owner;
    StatisticsLauncher launcher;
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
        r.recorder->waitForWrites();
        QTRY_VERIFY(recorded.count() > 0);
        // Still running: not yet ended, its errors those of its tasks so far.
        HistoryReader reader(file);
        QCOMPARE(reader.open(), HistoryReader::State::Readable);
        QBuffer running;
        running.open(QIODevice::WriteOnly);
        QCOMPARE(writeCsv(reader.database(), running), CsvWritten::Yes);
        QVERIFY2(running.data().trimmed().endsWith(
                     ";nein;2;C-Dur / a-Moll (keine Vorzeichen);c';;60;;nein;1;1"),
                 running.data().constData());

        for (int task = 4; task <= 25; ++task)
            r.exercise.answerFromInstrument(4);
        QCOMPARE(r.exercise.state(), ExerciseState::Idle);
        r.recorder->waitForWrites();

        const QStringList tasks = rows(file, TaskRows);
        QCOMPARE(tasks.size(), 25);
        QCOMPARE(tasks[0], QString("1|4|4|1|buttons"));
        QCOMPARE(tasks[1], QString("2|4|6|0|screen_keyboard"));
        QCOMPARE(tasks[2], QString("3|4|-|0|-"));
        QCOMPARE(tasks[24], QString("25|4|4|1|midi"));
        QCOMPARE(rows(file, "SELECT clef, ear_training, lowest, highest, note_shown_ms,"
                            " time_per_note_cs, keyboard_practice, outcome, errors, notes_per_task"
                            " FROM exercise"),
                 QStringList{"Violin|0|0|14|2000|400|0|finished|2|1"});
        QCOMPARE(rows(file, "SELECT COUNT(*) FROM task t JOIN exercise e ON e.id = t.exercise_id"
                            " WHERE t.ended_at >= e.started_at AND t.answer_ms >= 0"),
                 QStringList{"25"});
        QVERIFY(r.world.messages.size() == 2); // the time-out and the result, no notice

        const HistoryReport report =
            readReport(reader.database(), {Clef::Violin, ModeFilter::Both, {}});
        QCOMPARE(report.tasks, 25);
        QCOMPARE(report.wrong, 1);
        QCOMPARE(report.timedOut, 1);
        QCOMPARE(report.notes[4].missed, 2);
        QVERIFY(report.notes[4].medianMs);
        QCOMPARE(report.confusions.size(), 1);
        QCOMPARE(report.confusions[0].chosen, *clefNote(Clef::Violin, 6));
        QCOMPARE(report.finished.size(), 1);
        QCOMPARE(report.finished[0].errors, 2);
        QCOMPARE(readReport(reader.database(), {Clef::Violin, ModeFilter::EarTraining, {}}).tasks,
                 0);
        QCOMPARE(readReport(reader.database(), {Clef::Bass, ModeFilter::Both, {}}).tasks, 0);

        QBuffer csv;
        csv.open(QIODevice::WriteOnly);
        QCOMPARE(writeCsv(reader.database(), csv), CsvWritten::Yes);
        const QStringList lines = QString::fromUtf8(csv.data()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 26);
        // The staff places asked and chosen say they are places, beside the notes as written.
        QVERIFY(csv.data().startsWith("\xEF\xBB\xBFZeitpunkt;Schlüssel;Art;Eingabe;"
                                      "Gefragt (Platz im Notensystem);"
                                      "Gewählt (Platz im Notensystem);Richtig;"));
        // Only the buttons judged a spelling; the screen keyboard, the time-out and MIDI not.
        // Single notes: one note per task, each the first of its task; those columns come last.
        QVERIFY2(lines[0].endsWith(";Schreibweise bewertet;Noten pro Aufgabe;Note in der Aufgabe"),
                 qPrintable(lines[0]));
        QVERIFY2(lines[1].endsWith(";c';c';60;60;ja;1;1"), qPrintable(lines[1]));
        QVERIFY2(lines[2].contains(";Violinschlüssel;Lesen;Bildschirm-Keyboard;c';e';nein;"),
                 qPrintable(lines[2]));
        QVERIFY2(lines[2].endsWith(";c';e';60;64;nein;1;1"), qPrintable(lines[2]));
        QVERIFY2(lines[3].contains(";Zeit abgelaufen;c';;nein;"), qPrintable(lines[3]));
        QVERIFY2(lines[25].endsWith(";ja;2;C-Dur / a-Moll (keine Vorzeichen);c';c';60;60;nein;1;1"),
                 qPrintable(lines[25]));
    }

    // An exercise of phrases says so in its row.
    void abortedExerciseKeepsItsFinishedTasks() {
        const QString file = folder.filePath("aborted.sqlite");
        Recorded r(file);
        r.start(4);
        r.exercise.answer(r.exercise.askedIndex());
        r.exercise.answer(r.exercise.askedIndex());
        r.exercise.abort();
        r.recorder->waitForWrites();
        QCOMPARE(rows(file, TaskRows).size(), 2);
        QCOMPARE(rows(file, "SELECT number, place FROM task ORDER BY id"),
                 (QStringList{"1|0", "1|1"}));
        QCOMPARE(rows(file, "SELECT outcome, errors, notes_per_task FROM exercise"),
                 QStringList{"aborted|0|4"});

        // "Verlauf löschen…" leaves an empty record.
        QCOMPARE(HistoryStore(file, HistoryStore::Check::Trusted).clear(),
                 HistoryStore::Cleared::Yes);
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
        QCOMPARE(HistoryStore(file, HistoryStore::Check::Trusted).clear(),
                 HistoryStore::Cleared::Yes);
        r.exercise.answer(4);
        r.exercise.answer(3);
        r.exercise.abort();
        r.recorder->waitForWrites();
        QCOMPARE(rows(file, "SELECT t.number, e.outcome, e.errors FROM task t"
                            " JOIN exercise e ON e.id = t.exercise_id ORDER BY t.id"),
                 (QStringList{"2|aborted|1", "3|aborted|1"}));
    }

    // Weak notes are judged by each note's own most recent tasks, those not yet written first.
    void noteRecordsLookAtTheLatestTasks() {
        const QString file = folder.filePath("latest.sqlite");
        QList<std::pair<int, bool>> tasks;
        for (int i = 0; i < 250; ++i)
            tasks.append({3, i < 50});
        tasks.append({9, true});
        QList<UnwrittenExercise> written = {exerciseOf(Clef::Bass, true, tasks)};
        HistoryStore store(file);
        QCOMPARE(store.write(written), HistoryStore::Written::Yes);
        HistoryReader reader(file);
        QCOMPARE(reader.open(), HistoryReader::State::Readable);
        const auto records =
            readNoteRecords(reader.database(), {}, Clef::Bass, true, naturals(Clef::Bass));
        QCOMPARE(records[3].asked, 200);
        QCOMPARE(records[3].missed, 0);
        QCOMPARE(records[9].asked, 1);
        QCOMPARE(records[9].missed, 1);
        QCOMPARE(readNoteRecords(reader.database(), {}, Clef::Bass, false, naturals(Clef::Bass))[3]
                     .asked,
                 0);
        QCOMPARE(
            readNoteRecords(reader.database(), {}, Clef::Violin, true, naturals(Clef::Violin))[3]
                .asked,
            0);

        // Ten missed tasks not yet in the file are the newest; a task that reached the file
        // meanwhile counts once.
        QList<UnwrittenExercise> unwritten = {exerciseOf(Clef::Bass, true,
                                                         QList<std::pair<int, bool>>(10, {3, true}),
                                                         1'800'000'000'000),
                                              written[0]};
        unwritten[1].tasks = {written[0].tasks.last()};
        const auto withUnwritten =
            readNoteRecords(reader.database(), unwritten, Clef::Bass, true, naturals(Clef::Bass));
        QCOMPARE(withUnwritten[3].asked, 200);
        QCOMPARE(withUnwritten[3].missed, 10);
        QCOMPARE(withUnwritten[9].asked, 1);

        // The notes of a phrase share their task's number, each a row of its own: written
        // twice, as when the program ended before the rows kept were removed, each is written
        // once; the one not yet known to be written counts once, and its phrase's others too.
        UnwrittenRecord phrase;
        phrase.begin({QDateTime::fromMSecsSinceEpoch(1'900'000'000'000), Clef::Bass, true, 0, 14,
                      2000, 400, false, 4});
        for (const RecordedTask& note :
             exerciseOf(Clef::Bass, true, {{5, false}, {5, true}, {5, false}, {5, false}}).tasks) {
            RecordedTask inPhrase = note;
            inPhrase.outcome.place = inPhrase.outcome.task - 1;
            inPhrase.outcome.task = 1;
            phrase.add(inPhrase);
        }
        for (int time = 0; time < 2; ++time) {
            QList<UnwrittenExercise> again = phrase.copy();
            QCOMPARE(store.write(again), HistoryStore::Written::Yes);
        }
        QCOMPARE(rows(file, "SELECT e.notes_per_task, t.number, t.place, t.correct FROM task t"
                            " JOIN exercise e ON e.id = t.exercise_id WHERE t.asked = 5"),
                 (QStringList{"4|1|0|1", "4|1|1|0", "4|1|2|1", "4|1|3|1"}));
        QList<UnwrittenExercise> lastNote = phrase.copy();
        lastNote[0].tasks = {lastNote[0].tasks.last()};
        const auto phraseRecords =
            readNoteRecords(reader.database(), lastNote, Clef::Bass, true, naturals(Clef::Bass));
        QCOMPARE(phraseRecords[5].asked, 4);
        QCOMPARE(phraseRecords[5].missed, 1);

        // Deleting an exercise deletes its tasks.
        QSqlQuery(store.database()).exec("DELETE FROM exercise");
        QCOMPARE(rows(file, "SELECT COUNT(*) FROM task"), QStringList{"0"});
    }

    // The statistics window's library as the program opens it: this build's, none, and one of
    // another version (any library without this version's entry point). Only the entry point
    // is seen from outside.
    void statisticsLibrary_data() {
        QTest::addColumn<QString>("library");
        QTest::addColumn<QString>("message");
        QTest::newRow("this build's")
            << StatisticsLauncher::libraryBeside(VIRELO_PROGRAM_DIR) << QString();
        QTest::newRow("none") << folder.filePath("virelo_statistik")
                              << "fehlt oder kann nicht geladen werden.";
        QTest::newRow("another version")
            << QLibraryInfo::path(QLibraryInfo::LibrariesPath) + "/libQt6Charts.so.6"
            << "gehört zu einer anderen Version des Programms.";
    }
    void statisticsLibrary() {
        QFETCH(QString, library);
        QFETCH(QString, message);
        StatisticsWindow statistics(folder.filePath("library.sqlite"), library);
        statistics.open();
        if (message.isEmpty()) {
            QVERIFY(statistics.window());
            QCOMPARE(statistics.messages, QStringList());
            QLibrary loaded(library);
            QVERIFY(loaded.resolve(CreateStatisticsWindowSymbol));
            QVERIFY(!loaded.resolve("_ZN12frmStatistik7refreshEv"));
        } else {
            QVERIFY(!statistics.window());
            QCOMPARE(statistics.messages.size(), 1);
            QVERIFY2(statistics.messages[0].startsWith(
                         "Die Statistik kann nicht geöffnet werden:\nDie Datei „") &&
                         statistics.messages[0].endsWith(message),
                     qPrintable(statistics.messages[0]));
        }
    }

    // Closed, it is not kept up to date; opened again, it shows what was recorded meanwhile.
    void statisticsWindowReadsWhenShown() {
        const QString file = folder.filePath("reopened.sqlite");
        writeExercises(file, {{QDateTime::currentDateTime(), 1}});
        StatisticsWindow statistics(file);
        statistics.open();
        QTRY_VERIFY2(statistics.sums().contains("Aufgaben: 1 "), qPrintable(statistics.sums()));
        // Natural notes alone: no choice of keys; single notes alone: none of phrases.
        const auto* keys = statistics.window()->findChild<QComboBox*>("cboTonart");
        QVERIFY(keys && !keys->isVisibleTo(statistics.window()));
        const auto* phrases = statistics.window()->findChild<QComboBox*>("cboPhrasen");
        QVERIFY(phrases && !phrases->isVisibleTo(statistics.window()));
        // On the screen whole, also at twice the size, every control in reach.
        const QStringList unreachable = outOfReach(*statistics.window());
        QVERIFY2(unreachable.isEmpty(), qPrintable(unreachable.join("; ")));
        // By keys alone: Tab and Shift+Tab reach every control and come back; Escape closes it.
        QWidget* window = statistics.window();
        QVERIFY(activate(window));
        const QList<QWidget*> controls = mouseControls(*window);
        QVERIFY(!controls.isEmpty());
        const QString fault = tabRoundTrip(*window, controls.first());
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QTRY_VERIFY(!statistics.window());
        writeExercises(file, {{QDateTime::currentDateTime(), 2}});
        statistics.launcher.refresh();
        statistics.open();
        QTRY_VERIFY2(statistics.sums().contains("Aufgaben: 2 "), qPrintable(statistics.sums()));
    }

    // "Als CSV speichern…" saves on the window's reading thread: the window shows how far it is
    // and can cancel meanwhile, and the file is the record's CSV in the window's note names.
    void statisticsWindowSavesCsv() {
        const QString file = folder.filePath("saved.sqlite");
        writeRecord(file, 30);
        const QString target = folder.filePath("saved.csv");
        const NamingStyle english{NoteLetters::English, OctaveStyle::Scientific};
        StatisticsWindow statistics(file);
        setNamingStyle(english);
        statistics.open();
        setNamingStyle({});
        QTRY_VERIFY2(statistics.sums().contains("Aufgaben: 30 "), qPrintable(statistics.sums()));
        QWidget* window = statistics.window();
        auto* progress = window->findChild<QWidget*>("prgCsv");
        auto* cancel = window->findChild<QPushButton*>("cmdCsvAbbrechen");
        QVERIFY(progress && cancel && progress->isHidden() && cancel->isHidden());
        QVERIFY(QMetaObject::invokeMethod(window, "saveCsvAs", Q_ARG(QString, target)));
        // Still saving: the reading thread tells the window only once this test lets it.
        QVERIFY(progress->isVisible() && cancel->isVisible());
        QVERIFY(!window->findChild<QPushButton*>("cmdCsv")->isEnabled());
        QTRY_VERIFY(progress->isHidden());
        QVERIFY(cancel->isHidden() && window->findChild<QPushButton*>("cmdCsv")->isEnabled());
        QCOMPARE(statistics.messages, QStringList());

        HistoryReader reader(file);
        QCOMPARE(reader.open(), HistoryReader::State::Readable);
        QBuffer expected;
        expected.open(QIODevice::WriteOnly);
        QCOMPARE(writeCsv(reader.database(), expected, {}, english), CsvWritten::Yes);
        QFile saved(target);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), expected.data());
        QVERIFY(expected.data().contains(";A3;A3;"));
    }

    // Each chart leaves room around its points and says when it has none; numbered exercises
    // when dates would not tell them apart, a moving average through many; one grid for the two
    // axes of the notes' chart.
    void statisticsCharts_data() {
        QTest::addColumn<int>("exercises");
        QTest::addColumn<int>("overDays");
        QTest::addColumn<int>("answerMs");
        QTest::addColumn<bool>("numbered");
        QTest::newRow("nothing yet") << 0 << 0 << 0 << false;
        QTest::newRow("one exercise") << 1 << 0 << 1500 << true;
        QTest::newRow("first day") << 5 << 0 << 4000 << true;
        QTest::newRow("three days") << 8 << 3 << 2000 << true;
        QTest::newRow("a month") << 12 << 30 << 800 << false;
        QTest::newRow("many") << 150 << 60 << 3000 << false;
    }
    void statisticsCharts() {
        QFETCH(int, exercises);
        QFETCH(int, overDays);
        QFETCH(int, answerMs);
        QFETCH(bool, numbered);
        const QString file = folder.filePath(QTest::currentDataTag() + QString(".sqlite"));
        const QDateTime first = QDateTime::currentDateTime().addDays(-overDays - 1);
        QList<std::pair<QDateTime, int>> written;
        const std::array errors = {0, 25, 3, 1, 0};
        for (int i = 0; i < exercises; ++i)
            written.append(
                {first.addSecs(qint64(overDays) * 86400 * i / std::max(1, exercises - 1)),
                 errors[std::size_t(i) % errors.size()]});
        writeExercises(file, written, answerMs);
        StatisticsWindow statistics(file);
        statistics.open();
        QTRY_VERIFY(statistics.sums().contains(QString("Übungen: %1\n").arg(exercises)));
        QWidget* window = statistics.window();

        const QList<QChartView*> views = window->findChildren<QChartView*>();
        QCOMPARE(views.size(), 2);
        for (const char* empty : {"lblNotenLeer", "lblUebungenLeer"}) {
            const QLabel* text = window->findChild<QLabel*>(empty);
            QCOMPARE(text && text->isVisibleTo(window), exercises == 0);
        }
        const QStringList unnamed = unnamedControls(*window);
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral("; "))));

        // Notes: the medians below the seconds axis' end; its ticks on the share's grid lines.
        QChart* notes = views[0]->chart();
        const auto shares = qobject_cast<QValueAxis*>(notes->axes(Qt::Vertical)[0]);
        const auto seconds = qobject_cast<QValueAxis*>(notes->axes(Qt::Vertical)[1]);
        QVERIFY(shares && seconds);
        QCOMPARE(seconds->tickCount(), shares->tickCount());
        QVERIFY(!seconds->isGridLineVisible());
        QVERIFY2(seconds->max() > answerMs / 1000.0 * 1.04,
                 qPrintable(QString::number(seconds->max())));

        // Exercises: every point clear of the plot's edges, those with no error above the axis,
        // the error axis ending where an exercise's errors do.
        QChart* chart = views[1]->chart();
        const QList<QAbstractSeries*> series = chart->series();
        QCOMPARE(series.size(), exercises > 100 ? 2 : 1);
        const auto line = qobject_cast<QXYSeries*>(series[0]);
        // Many exercises over months show as one point a day.
        QCOMPARE(line->count() == exercises, numbered || exercises <= 100);
        QAbstractAxis* across = chart->axes(Qt::Horizontal)[0];
        const auto up = qobject_cast<QValueAxis*>(chart->axes(Qt::Vertical)[0]);
        QCOMPARE(across->type() == QAbstractAxis::AxisTypeValue, numbered);
        QVERIFY(up->min() < 0);
        QVERIFY2(up->max() > (exercises > 1 ? 25 : 5) && up->max() < (exercises > 1 ? 27 : 6),
                 qPrintable(QString::number(up->max())));
        double low = 0, high = 0;
        if (const auto value = qobject_cast<QValueAxis*>(across)) {
            low = value->min();
            high = value->max();
            QVERIFY(value->titleText().contains(first.toString("dd.MM.yy")));
        } else {
            const auto time = qobject_cast<QDateTimeAxis*>(across);
            low = double(time->min().toMSecsSinceEpoch());
            high = double(time->max().toMSecsSinceEpoch());
        }
        const double room = (high - low) / 50;
        for (const QPointF point : line->points())
            QVERIFY2(point.x() > low + room && point.x() < high - room,
                     qPrintable(QString("%1 in %2..%3").arg(point.x()).arg(low).arg(high)));
    }

    // No chart takes the focus it could not show; each button has an Alt key of its own.
    void statisticsWindowByKeys() {
        StatisticsWindow statistics(folder.filePath("keys.sqlite"));
        statistics.open();
        QVERIFY(statistics.window());
        QStringList keys;
        for (const QLabel* label : statistics.window()->findChildren<QLabel*>())
            keys.append(QKeySequence::mnemonic(label->text()).toString());
        for (const QPushButton* button : statistics.window()->findChildren<QPushButton*>()) {
            const QString key = QKeySequence::mnemonic(button->text()).toString();
            QVERIFY2(!key.isEmpty() && !keys.contains(key), qPrintable(button->text()));
            keys.append(key);
        }
        for (const QChartView* view : statistics.window()->findChildren<QChartView*>())
            QCOMPARE(view->focusPolicy(), Qt::NoFocus);
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
        UnwrittenExercise alto = exerciseOf(Clef::Alto, false, {{3, false}}, 2'000'000);
        alto.tasks.first().outcome.input = AnswerInput::Microphone;
        UnwrittenExercise tenor = exerciseOf(Clef::Tenor, true, {}, 3'000'000);
        tenor.serial = 2;
        QList<UnwrittenExercise> exercises = {alto, tenor};
        QCOMPARE(store.write(exercises), HistoryStore::Written::Yes);
        HistoryReader reader(file);
        QCOMPARE(reader.open(), HistoryReader::State::Readable);
        const auto records = [&](Clef clef) {
            return readNoteRecords(reader.database(), {}, clef, false, naturals(clef));
        };
        QCOMPARE(records(Clef::Bass)[3].missed, 1);
        QCOMPARE(records(Clef::Alto)[3].asked, 1);
        QCOMPARE(records(Clef::Alto)[3].missed, 0);
        QCOMPARE(records(Clef::Tenor)[3].asked, 0);

        QCOMPARE(rows(file, "PRAGMA user_version"),
                 QStringList{QString::number(schemaMigrations().size())});
        QCOMPARE(rows(file, "SELECT e.id, e.clef, t.asked, t.chosen, t.asked_step, t.asked_pitch,"
                            " t.chosen_step, t.chosen_pitch FROM task t"
                            " JOIN exercise e ON e.id = t.exercise_id ORDER BY t.id"),
                 (QStringList{"7|Bass|3|2|20|47|19|45", "8|Alto|3|3|24|53|24|53"}));
        QCOMPARE(rows(file, "SELECT name FROM sqlite_master WHERE type = 'index' ORDER BY name"),
                 (QStringList{"exercise_by_mode", "exercise_by_row_id", "task_by_exercise",
                              "task_by_mode_and_note", "task_by_row_id"}));
        QCOMPARE(rows(file, "PRAGMA foreign_key_check"), QStringList{});

        QBuffer csv;
        csv.open(QIODevice::WriteOnly);
        QCOMPARE(writeCsv(reader.database(), csv), CsvWritten::Yes);
        QVERIFY2(csv.data().contains(";Altschlüssel;Lesen;Mikrofon;f;f;ja;"),
                 csv.data().constData());
    }

    void recordMadeBeforeKeys_data() {
        QTest::addColumn<NamingStyle>("style");
        QTest::addColumn<QStringList>("names"); // C major, G major, d', e', f', fis'
        QTest::newRow("German names")
            << NamingStyle{} << QStringList{"C-Dur / a-Moll (keine Vorzeichen)",
                                            "G-Dur / e-Moll (1 ♯)",
                                            "d'",
                                            "e'",
                                            "f'",
                                            "fis'"};
        QTest::newRow("English names") << NamingStyle{NoteLetters::English, OctaveStyle::Scientific}
                                       << QStringList{"C-Dur / A-Moll (keine Vorzeichen)",
                                                      "G-Dur / E-Moll (1 ♯)",
                                                      "D4",
                                                      "E4",
                                                      "F4",
                                                      "F♯4"};
    }
    // A record the program wrote before keys were kept: its tasks become C major's natural notes
    // of their clefs, judged as written where buttons answered outside ear training; tasks in G
    // major are kept beside them, spelled, and the weak notes, the report, the statistics window
    // and the CSV tell the two apart, naming keys and notes alike.
    void recordMadeBeforeKeys() {
        QFETCH(NamingStyle, style);
        QFETCH(QStringList, names);
        setNamingStyle(style);
        const auto germanAgain = qScopeGuard([] { setNamingStyle({}); });
        const QString file =
            folder.filePath(QStringLiteral("schema3 %1.sqlite").arg(QTest::currentDataTag()));
        QVERIFY(QFile::copy(VIRELO_TEST_DATA "/verlauf-schema3.sqlite", file));
        QFile(file).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        HistoryStore store(file);
        const SpelledNote f{31, 0}, fis{31, 1}, c{28, 0};
        UnwrittenExercise inG{1,
                              {QDateTime::fromMSecsSinceEpoch(1'800'000'000'000), Clef::Violin,
                               false, 0, 14, 2000, 400, false}};
        const auto task = [&](int number, const SpelledNote& asked, const SpelledNote& chosen,
                              AnswerInput input, bool judged) {
            inG.tasks.append({{number, 7, *clefIndexOf(Clef::Violin, {chosen.step, 0}),
                               asked == chosen, 900, input, KeySignature{1}, asked, chosen, judged},
                              QDateTime::fromMSecsSinceEpoch(1'800'000'001'000 + number)});
        };
        task(1, fis, f, AnswerInput::Buttons, true);
        task(2, fis, fis, AnswerInput::Midi, false);
        task(3, c, c, AnswerInput::Buttons, true);
        inG.tasks[2].outcome.askedIndex = 4;
        inG.end = ExerciseEnd{false, 1};
        QList<UnwrittenExercise> exercises = {inG};
        QCOMPARE(store.write(exercises), HistoryStore::Written::Yes);

        QCOMPARE(rows(file, "SELECT number, key_fifths, asked_step, asked_alteration, asked_pitch,"
                            " chosen_step, chosen_alteration, chosen_pitch, spelling_judged"
                            " FROM task ORDER BY id"),
                 (QStringList{// violin, reading: buttons, screen keyboard, time-out, MIDI
                              "1|0|28|0|60|28|0|60|1", "2|0|29|0|62|30|0|64|0",
                              "3|0|31|0|65|-|-|-|0", "4|0|33|0|69|33|0|69|0",
                              // bass, ear training
                              "1|0|17|0|41|18|0|43|0", "2|0|31|0|65|31|0|65|0",
                              // alto
                              "1|0|24|0|53|24|0|53|1",
                              // G major
                              "1|1|31|1|66|31|0|65|1", "2|1|31|1|66|31|1|66|0",
                              "3|1|28|0|60|28|0|60|1"}));

        HistoryReader reader(file);
        QCOMPARE(reader.open(), HistoryReader::State::Readable);
        const auto records = readNoteRecords(reader.database(), {}, Clef::Violin, false, {f, fis});
        QCOMPARE(records[0].asked, 1); // timed out
        QCOMPARE(records[0].missed, 1);
        QCOMPARE(records[1].asked, 2);
        QCOMPARE(records[1].missed, 1);

        const HistoryReport all = readReport(reader.database(), {Clef::Violin});
        QCOMPARE(all.tasks, 7);
        QCOMPARE(all.notes.size(), NoteCount + 1);
        QCOMPARE(all.notes[7].note, f);
        QCOMPARE(all.notes[8].note, fis);
        QCOMPARE(all.notes[8].tasks, 2);
        QCOMPARE(all.notes[4].tasks, 2);
        QCOMPARE(all.keys, (QList<KeySignature>{{0}, {1}}));
        QCOMPARE(all.finished.size(), 2);
        const HistoryReport inKey =
            readReport(reader.database(), {Clef::Violin, ModeFilter::Both, {}, KeySignature{1}});
        QCOMPARE(inKey.tasks, 3);
        QCOMPARE(inKey.confusions.size(), 1);
        QCOMPARE(inKey.confusions[0].asked, fis);
        QCOMPARE(inKey.confusions[0].chosen, f);
        QCOMPARE(inKey.finished.size(), 1);
        QCOMPARE(inKey.finished[0].errors, 1);

        QBuffer csv;
        csv.open(QIODevice::WriteOnly);
        QCOMPARE(writeCsv(reader.database(), csv), CsvWritten::Yes);
        const QStringList lines = QString::fromUtf8(csv.data()).split('\n', Qt::SkipEmptyParts);
        QVERIFY2(lines[0].endsWith(";Tonart;Gefragte Note;Gewählte Note;Gefragte Tonhöhe (MIDI);"
                                   "Gewählte Tonhöhe (MIDI);Schreibweise bewertet;"
                                   "Noten pro Aufgabe;Note in der Aufgabe"),
                 qPrintable(lines[0]));
        QVERIFY2(lines[2].endsWith(
                     QString(";%1;%2;%3;62;64;nein;1;1").arg(names[0], names[2], names[3])),
                 qPrintable(lines[2]));
        QVERIFY2(lines[3].endsWith(QString(";%1;;65;;nein;1;1").arg(names[4])),
                 qPrintable(lines[3]));
        QVERIFY2(
            lines[8].endsWith(QString(";%1;%2;%3;66;65;ja;1;1").arg(names[1], names[5], names[4])),
            qPrintable(lines[8]));
        QVERIFY2(lines[9].endsWith(QString(";%1;%1;66;66;nein;1;1").arg(names[5])),
                 qPrintable(lines[9]));

        // The window offers the keys present and names the confusion by its spelled notes.
        StatisticsWindow statistics(file);
        statistics.open();
        QTRY_VERIFY2(statistics.sums().contains("Aufgaben: 7 "), qPrintable(statistics.sums()));
        auto* keys = statistics.window()->findChild<QComboBox*>("cboTonart");
        QVERIFY(keys);
        QVERIFY(keys->isVisibleTo(statistics.window()));
        QStringList keyItems;
        for (int i = 0; i < keys->count(); ++i)
            keyItems.append(keys->itemText(i));
        QCOMPARE(keyItems, (QStringList{"Alle Tonarten", names[0], names[1]}));
        QVERIFY2(shownTexts(*statistics.window())
                     .join('\n')
                     .contains(QString("%1 statt %2: 1 ×").arg(names[4], names[5])),
                 qPrintable(shownTexts(*statistics.window()).join('\n')));
        keys->setCurrentIndex(2);
        QTRY_VERIFY2(statistics.sums().contains("Aufgaben: 3 "), qPrintable(statistics.sums()));
        QCOMPARE(keys->currentText(), names[1]);
    }

    // A record the program wrote before phrases: its rows stay, single notes, beside an exercise
    // of phrases written now; the report, the statistics window and the CSV tell them apart.
    void recordMadeBeforePhrases_data() {
        QTest::addColumn<int>("choice"); // the window's, as listed
        QTest::addColumn<PhraseFilter>("phrases");
        QTest::addColumn<int>("tasks");
        QTest::addColumn<int>("exercises");
        QTest::newRow("single notes and phrases") << 0 << PhraseFilter::Both << 6 << 2;
        QTest::newRow("single notes only") << 1 << PhraseFilter::SingleNotes << 2 << 1;
        QTest::newRow("phrases only") << 2 << PhraseFilter::Phrases << 4 << 1;
    }
    void recordMadeBeforePhrases() {
        QFETCH(int, choice);
        QFETCH(PhraseFilter, phrases);
        QFETCH(int, tasks);
        QFETCH(int, exercises);
        const QString file = folder.filePath(
            QStringLiteral("before-phrases %1.sqlite").arg(QTest::currentDataTag()));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "old");
            db.setDatabaseName(file);
            QVERIFY(db.open());
            QSqlQuery query(db);
            for (int step = 0; step < SchemaBeforePhrases; ++step)
                for (const QString& statement : schemaMigrations()[std::size_t(step)])
                    QVERIFY2(query.exec(statement), qPrintable(statement));
            QVERIFY(
                query.exec(QStringLiteral("PRAGMA user_version = %1").arg(SchemaBeforePhrases)));
            // As that program wrote them: the exercise as it starts, its end when it ends.
            QVERIFY(query.exec("INSERT INTO exercise (id, started_at, clef, ear_training, lowest,"
                               " highest, note_shown_ms, time_per_note_cs, keyboard_practice,"
                               " row_id, outcome, errors) VALUES (3, 1000, 'Violin', 0, 0, 14,"
                               " 2000, 400, 0, x'00112233445566778899aabbccddeeff', 'finished',"
                               " 1)"));
            for (const char* task :
                 {"(3, 1, 2000, 4, 4, 1, 800, 'buttons', 0, 28, 0, 60, 28, 0, 60, 1,"
                  " x'01', 'Violin', 0)",
                  "(3, 2, 3000, 4, 5, 0, 900, 'midi', 0, 28, 0, 60, 29, 0, 62, 0,"
                  " x'02', 'Violin', 0)"})
                QVERIFY(query.exec(
                    QStringLiteral(
                        "INSERT INTO task (exercise_id, number, ended_at, asked, chosen, correct,"
                        " answer_ms, input, key_fifths, asked_step, asked_alteration, asked_pitch,"
                        " chosen_step, chosen_alteration, chosen_pitch, spelling_judged, row_id,"
                        " clef, ear_training) VALUES ") +
                    QLatin1String(task)));
        }
        QSqlDatabase::removeDatabase("old");

        HistoryStore store(file);
        UnwrittenExercise phrase = exerciseOf(
            Clef::Violin, false, {{4, false}, {6, false}, {5, true}, {4, false}}, 2'000'000);
        phrase.start.notesPerTask = 4;
        for (RecordedTask& note : phrase.tasks) {
            note.outcome.place = note.outcome.task - 1;
            note.outcome.task = 1;
        }
        QList<UnwrittenExercise> written = {phrase};
        QCOMPARE(store.write(written), HistoryStore::Written::Yes);
        QCOMPARE(rows(file, "SELECT e.id, e.notes_per_task, t.number, t.place, t.asked, t.chosen"
                            " FROM task t JOIN exercise e ON e.id = t.exercise_id ORDER BY t.id"),
                 (QStringList{"3|1|1|0|4|4", "3|1|2|0|4|5", "4|4|1|0|4|4", "4|4|1|1|6|6",
                              "4|4|1|2|5|6", "4|4|1|3|4|4"}));
        QCOMPARE(rows(file, "PRAGMA foreign_key_check"), QStringList{});

        HistoryReader reader(file);
        QCOMPARE(reader.open(), HistoryReader::State::Readable);
        // Each note of a phrase is a task of its note.
        QCOMPARE(
            readNoteRecords(reader.database(), {}, Clef::Violin, false, naturals(Clef::Violin))[4]
                .asked,
            4);
        const HistoryReport report =
            readReport(reader.database(), {Clef::Violin, ModeFilter::Both, {}, {}, phrases});
        QCOMPARE(report.tasks, tasks);
        QCOMPARE(report.exercises, exercises);
        QVERIFY(report.hasPhrases);

        QBuffer csv;
        csv.open(QIODevice::WriteOnly);
        QCOMPARE(writeCsv(reader.database(), csv), CsvWritten::Yes);
        const QStringList lines = QString::fromUtf8(csv.data()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 7);
        QStringList lastColumns;
        for (const QString& line : lines)
            lastColumns.append(line.section(';', -2));
        QCOMPARE(lastColumns, (QStringList{"Noten pro Aufgabe;Note in der Aufgabe", "1;1", "1;1",
                                           "4;1", "4;2", "4;3", "4;4"}));

        // The window offers the choice once there are phrases, and reads what is chosen.
        StatisticsWindow statistics(file);
        statistics.open();
        QTRY_VERIFY2(statistics.sums().contains("Aufgaben: 6 "), qPrintable(statistics.sums()));
        auto* choices = statistics.window()->findChild<QComboBox*>("cboPhrasen");
        QVERIFY(choices && choices->isVisibleTo(statistics.window()));
        QCOMPARE(choices->currentIndex(), 0);
        choices->setCurrentIndex(choice);
        QTRY_VERIFY2(statistics.sums().contains(
                         QString("Übungen: %1\nAufgaben: %2 ").arg(exercises).arg(tasks)),
                     qPrintable(statistics.sums()));
    }

    // Rows kept beside the record keep the spelled notes and the places in their phrases; those
    // an earlier version kept read as C major's natural notes of their clef, single notes.
    void keptRowsReadBack_data() {
        QTest::addColumn<QByteArray>("keptBefore"); // empty: kept by this version
        QTest::addColumn<int>("fifths");
        QTest::addColumn<SpelledNote>("asked");
        QTest::addColumn<std::optional<SpelledNote>>("chosen");
        QTest::addColumn<bool>("judged");
        QTest::addColumn<int>("notesPerTask");
        QTest::addColumn<int>("place");
        QTest::newRow("this version") << QByteArray() << -2 << SpelledNote{30, -1}
                                      << std::optional<SpelledNote>{{29, 1}} << false << 8 << 5;
        QTest::newRow("before phrases")
            << QByteArray(R"([{"startedAt": 5, "clef": "Violin", "tasks": [{"task": 1,
                             "asked": 4, "chosen": 4, "right": true, "answerMs": 700,
                             "input": "buttons", "endedAt": 9, "key": -1,
                             "askedNote": {"step": 28, "alteration": 0},
                             "chosenNote": {"step": 28, "alteration": 0},
                             "spellingJudged": true}]}])")
            << -1 << SpelledNote{28, 0} << std::optional<SpelledNote>{{28, 0}} << true << 1 << 0;
        QTest::newRow("before keys")
            << QByteArray(R"([{"startedAt": 5, "clef": "Bass", "tasks": [{"task": 1, "asked": 3,
                             "chosen": 2, "right": false, "answerMs": 700, "input": "midi",
                             "endedAt": 9}]}])")
            << 0 << SpelledNote{20, 0} << std::optional<SpelledNote>{{19, 0}} << true << 1 << 0;
        QTest::newRow("timed out, before keys")
            << QByteArray(R"([{"startedAt": 5, "clef": "Violin", "tasks": [{"task": 1,
                             "asked": 4, "chosen": null, "right": false, "answerMs": 700,
                             "input": null, "endedAt": 9}]}])")
            << 0 << SpelledNote{28, 0} << std::optional<SpelledNote>() << true << 1 << 0;
    }
    void keptRowsReadBack() {
        QFETCH(QByteArray, keptBefore);
        QFETCH(int, fifths);
        QFETCH(SpelledNote, asked);
        QFETCH(std::optional<SpelledNote>, chosen);
        QFETCH(bool, judged);
        QFETCH(int, notesPerTask);
        QFETCH(int, place);
        const QString file = folder.filePath("kept.sqlite");
        if (keptBefore.isEmpty()) {
            UnwrittenExercise exercise = exerciseOf(Clef::Violin, false, {{6, true}});
            exercise.start.notesPerTask = notesPerTask;
            TaskOutcome& outcome = exercise.tasks[0].outcome;
            outcome.key = {fifths};
            outcome.askedNote = asked;
            outcome.chosenNote = chosen;
            outcome.spellingJudged = judged;
            outcome.place = place;
            QVERIFY(keepRows(file, {exercise}));
        } else {
            QFile kept(keptRowsFile(file));
            QVERIFY(kept.open(QIODevice::WriteOnly));
            kept.write(keptBefore);
        }
        const QList<UnwrittenExercise> read = readKeptRows(file);
        QCOMPARE(read.size(), 1);
        QCOMPARE(read[0].tasks.size(), 1);
        const TaskOutcome& outcome = read[0].tasks[0].outcome;
        QCOMPARE(outcome.key.fifths, fifths);
        QCOMPARE(outcome.askedNote, asked);
        QCOMPARE(outcome.chosenNote, chosen);
        QCOMPARE(outcome.spellingJudged, judged);
        QCOMPARE(read[0].start.notesPerTask, notesPerTask);
        QCOMPARE(outcome.place, place);
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
            writeRecord(file, 400);
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

    // Another copy of the program holds the file while tasks end: they are written once it
    // lets go.
    void twoCopiesWriting() {
        const QString file = folder.filePath("two.sqlite");
        Recorded first(file);
        Recorded second(file, 7);
        QSignalSpy notices(first.recorder.get(), &TaskRecorder::notice);
        first.start();
        second.start();
        first.recorder->waitForWrites();
        second.recorder->waitForWrites();
        {
            HeldRecord held(file);
            for (int i = 0; i < 3; ++i) {
                first.exercise.answer(4);
                second.exercise.answer(7, AnswerInput::Midi);
            }
            first.recorder->waitForWrites();
            second.recorder->waitForWrites();
            QCOMPARE(rows(file, "SELECT COUNT(*) FROM task"), QStringList{"0"});
        }
        QTRY_COMPARE(rows(file, "SELECT asked, COUNT(*) FROM task GROUP BY asked"),
                     QStringList({"4|3", "7|3"}));
        QCOMPARE(rows(file, "SELECT COUNT(*) FROM exercise"), QStringList{"2"});
        QTest::qWait(10);
        QCOMPARE(notices.count(), 0);
    }

    // Another program holds the record from before the start to after the end: nothing waits for
    // it, nothing is said, each note's record still counts the tasks, and the next start writes
    // them. Read-only, the statistics read it all the while.
    void recordHeldByAnotherProgram() {
        const QString file = folder.filePath("held.sqlite");
        writeRecord(file, 10);
        auto held = std::make_unique<HeldRecord>(file);
        {
            Recorded r(file);
            QSignalSpy notices(r.recorder.get(), &TaskRecorder::notice);
            r.recorder->openStore();
            r.start();
            r.exercise.answer(4);
            r.exercise.answer(5);
            r.exercise.tmrNoteFalsch_Timer();
            r.exercise.answer(4);
            r.exercise.abort();
            r.recorder->waitForWrites();
            const auto records =
                r.recorder->noteRecords(Clef::Violin, false, naturals(Clef::Violin));
            QCOMPARE(records[4].asked, 3);
            QCOMPARE(records[4].missed, 1);
            QCOMPARE(records[2].asked, 10);
            QTest::qWait(50);
            QCOMPARE(notices.count(), 0);

            HistoryReader reader(file);
            QCOMPARE(reader.open(), HistoryReader::State::Readable);
            QCOMPARE(readReport(reader.database(), {Clef::Violin, ModeFilter::Both, {}}).tasks, 10);
        } // the program ends
        QVERIFY(QFile::exists(keptRowsFile(file)));
        held.reset();
        QCOMPARE(rows(file, "SELECT COUNT(*) FROM task"), QStringList{"10"});

        Recorded next(file);
        next.recorder->openStore();
        next.recorder->waitForWrites();
        QCOMPARE(rows(file, "SELECT t.number, t.asked, t.correct, e.outcome, e.errors FROM task t"
                            " JOIN exercise e ON e.id = t.exercise_id WHERE t.asked = 4"),
                 (QStringList{"1|4|1|aborted|1", "2|4|0|aborted|1", "3|4|1|aborted|1"}));
        QVERIFY(!QFile::exists(keptRowsFile(file)));
    }

    // Rows kept beside the record are written once: not again when the program ended between
    // writing them and removing their file, nor by a second copy started at the same time that
    // read them too; and not at all once the record was cleared.
    void keptRowsWrittenOnce_data() {
        QTest::addColumn<QString>("then");
        QTest::addColumn<QString>("tasks");
        QTest::newRow("ended before their file was removed") << "crash"
                                                             << "3";
        QTest::newRow("two copies started together") << "two copies"
                                                     << "3";
        QTest::newRow("record cleared") << "cleared"
                                        << "0";
    }
    void keptRowsWrittenOnce() {
        QFETCH(QString, then);
        QFETCH(QString, tasks);
        const QString file =
            folder.filePath("once-" + QString(QTest::currentDataTag()) + ".sqlite");
        writeRecord(file, 1);
        {
            HeldRecord held(file);
            Recorded r(file);
            r.start();
            for (int task = 0; task < 3; ++task)
                r.exercise.answer(4);
            r.exercise.abort();
            r.recorder->waitForWrites();
        } // the program ends while the record is held
        const QString kept = keptRowsFile(file);
        QVERIFY(QFile::copy(kept, kept + ".copy"));
        const QString counted = "SELECT COUNT(*) FROM task WHERE asked = 4";
        if (then == "crash") {
            {
                Recorded next(file);
                next.recorder->openStore();
                next.recorder->waitForWrites();
            }
            QCOMPARE(rows(file, counted), QStringList{"3"});
            QVERIFY(!QFile::exists(kept));
            QVERIFY(QFile::rename(kept + ".copy", kept));
        } else if (then == "cleared") {
            QCOMPARE(HistoryStore(file).clear(), HistoryStore::Cleared::Yes);
        }
        {
            Recorded first(file);
            Recorded second(file);
            first.recorder->openStore();
            second.recorder->openStore();
            first.recorder->waitForWrites();
            second.recorder->waitForWrites();
        }
        QCOMPARE(rows(file, counted), QStringList{tasks});
        QCOMPARE(rows(file, "SELECT COUNT(*) FROM exercise"),
                 QStringList{then == "cleared" ? "0" : "2"});
        QVERIFY(!QFile::exists(kept));
    }

    // Found damaged while the program writes to it: set aside as at the start, the rest of the
    // exercise written to a new record, and said so once the result is closed.
    void damagedWhileOpen() {
        const QString file = folder.filePath("damaged-later.sqlite");
        Recorded r(file);
        QSignalSpy notices(r.recorder.get(), &TaskRecorder::notice);
        int noticesWhileResultShown = -1;
        r.world.onMessage = [&](const ShownMessage&) {
            QTest::qWait(100); // the message's own event loop
            noticesWhileResultShown = int(notices.count());
        };
        r.start();
        r.exercise.answer(4);
        r.exercise.answer(4);
        r.recorder->waitForWrites();
        const QString root =
            rows(file, "SELECT rootpage FROM sqlite_schema WHERE name = 'task'").value(0);
        rows(file, "PRAGMA wal_checkpoint(TRUNCATE)");
        {
            QFile damaged(file);
            QVERIFY(damaged.open(QIODevice::ReadWrite));
            damaged.seek((root.toInt() - 1) * 4096);
            damaged.write(QByteArray(4096, '\x5a'));
        }
        // Another writer tells the program's connection that its pages may be stale.
        rows(file, "INSERT INTO exercise (started_at, clef, ear_training, lowest, highest,"
                   " note_shown_ms, time_per_note_cs, keyboard_practice)"
                   " VALUES (0, 'Bass', 0, 0, 14, 0, 0, 0)");
        r.exercise.answer(5);
        r.exercise.abort();
        r.recorder->waitForWrites();
        QTRY_COMPARE(notices.count(), 1);
        QCOMPARE(noticesWhileResultShown, 0);
        QVERIFY2(notices[0][0].toString().contains("war beschädigt"),
                 qPrintable(notices[0][0].toString()));
        QCOMPARE(rows(file, "SELECT t.number, t.asked, e.outcome FROM task t"
                            " JOIN exercise e ON e.id = t.exercise_id"),
                 QStringList{"3|4|aborted"});
        QCOMPARE(QDir(folder.path()).entryList({"damaged-later-beschaedigt-*.sqlite"}).size(), 1);
    }

    // The statistics read the record without writing it; what cannot be read is said to be so.
    void readingTheRecord_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("tasks");
        QTest::newRow("held by another program")
            << "held" << int(HistoryReader::State::Readable) << 10;
        // As in a read-only folder: not even SQLite's shared index can be made beside it.
        QTest::newRow("cannot be written")
            << "unwritable" << int(HistoryReader::State::Readable) << 10;
        QTest::newRow("no record yet") << "none" << int(HistoryReader::State::Empty) << 0;
        QTest::newRow("a folder in its place")
            << "folder" << int(HistoryReader::State::Unreadable) << 0;
    }
    void readingTheRecord() {
        QFETCH(QString, kind);
        QFETCH(int, state);
        QFETCH(int, tasks);
        const QString file = folder.filePath(QStringLiteral("reading-%1.sqlite").arg(kind));
        if (kind == "held" || kind == "unwritable")
            writeRecord(file, 10);
        if (kind == "folder")
            QDir().mkpath(file);
        std::unique_ptr<HeldRecord> held;
        if (kind == "held")
            held = std::make_unique<HeldRecord>(file);
        std::unique_ptr<FileSizeLimit> full;
        if (kind == "unwritable")
            full = std::make_unique<FileSizeLimit>(0);

        HistoryReader reader(file);
        QCOMPARE(int(reader.open()), state);
        QCOMPARE(readReport(reader.database(), {Clef::Violin, ModeFilter::Both, {}}).tasks, tasks);
        if (state == int(HistoryReader::State::Unreadable))
            QVERIFY2(reader.problem().contains(QDir::toNativeSeparators(file)),
                     qPrintable(reader.problem()));
        else
            QCOMPARE(reader.problem(), QString());

        // The statistics window says what it cannot read rather than draw an empty record.
        const auto window = statisticsWindow(file);
        window->show();
        const bool unreadable = state == int(HistoryReader::State::Unreadable);
        // It reads on a thread of its own once shown.
        QTRY_VERIFY(shownTexts(*window).join(u'\n').contains(
            unreadable ? QDir::toNativeSeparators(file)
                       : QStringLiteral("Aufgaben: %1 ").arg(tasks)));
        const QString texts = shownTexts(*window).join(u'\n');
        QCOMPARE(texts.contains(QDir::toNativeSeparators(file)), unreadable);
        QCOMPARE(texts.contains(QStringLiteral("Aufgaben: %1 ").arg(tasks)), !unreadable);
        for (const QGraphicsView* chart : window->findChildren<QGraphicsView*>())
            QCOMPARE(chart->isVisibleTo(window.get()), !unreadable);
    }

    // "Als CSV speichern…" where the disk is nearly full, or the record cannot be read: the
    // learner is told, and a file of that name stays as it was.
    // Cancelled, nothing is said and nothing is left: not the part written, which is more than
    // the file's buffer holds, nor a change to a file of that name.
    void csvNotSaved_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("cancelled");
        QTest::newRow("new file on a nearly full disk")
            << "new"
            << "konnte nicht gespeichert werden" << false;
        QTest::newRow("old file on a nearly full disk")
            << "old"
            << "konnte nicht gespeichert werden" << false;
        QTest::newRow("record unreadable") << "unreadable"
                                           << "kann nicht gelesen werden" << false;
        QTest::newRow("new file, cancelled") << "new" << QString() << true;
        QTest::newRow("old file, cancelled") << "old" << QString() << true;
    }
    void csvNotSaved() {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        QFETCH(bool, cancelled);
        const QString name = kind + (cancelled ? "-cancelled" : "");
        const QString record = folder.filePath(QStringLiteral("csv-%1.sqlite").arg(name));
        const QString target = folder.filePath(QStringLiteral("csv-%1.csv").arg(name));
        // About 10 KB of CSV: all of it lies in the file's buffer until the end. Cancelled after
        // 1000 of 2500 rows, about 100 KB are on the disk.
        writeRecord(record, kind == "unreadable" ? 0 : cancelled ? 2500 : 90);
        const QByteArray old = "Zeitpunkt;Schlüssel\n";
        if (kind == "old") {
            QFile out(target);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(old);
        }
        HistoryReader reader(record);
        QCOMPARE(reader.open(), HistoryReader::State::Readable);
        QString problem;
        {
            QSqlDatabase db = reader.database();
            if (kind == "unreadable")
                rows(record, "DROP TABLE task");
            if (cancelled) {
                qint64 told = -1;
                problem = saveCsv(db, record, target, [&told](qint64 written, qint64 total) {
                    told = written;
                    return total == 2500 && written < 1000;
                });
                QCOMPARE(told, 1000);
            } else {
                const FileSizeLimit full(4096);
                problem = saveCsv(db, record, target);
            }
        }
        if (cancelled) {
            QCOMPARE(problem, QString());
        } else {
            QVERIFY2(problem.contains(message), qPrintable(problem));
            QVERIFY2(
                problem.contains(QDir::toNativeSeparators(kind == "unreadable" ? record : target)),
                qPrintable(problem));
        }
        QCOMPARE(QFile::exists(target), kind == "old");
        if (kind == "old") {
            QFile in(target);
            QVERIFY(in.open(QIODevice::ReadOnly));
            QCOMPARE(in.readAll(), old);
        }
        QCOMPARE(QDir(folder.path()).entryList({QFileInfo(target).fileName() + "*"}).size(),
                 kind == "old" ? 1 : 0);
    }

private:
    QTemporaryDir folder;
};

QTEST_MAIN(HistoryTest)
#include "tst_history.moc"
