// The record of the tasks: how long recording one task keeps the window's thread, how long its
// writing takes on the recording thread, how long the statistics window takes to open and draw
// a year of practice (100,000 tasks), with the size of that file and the time to read each note's
// record from it, and the longest the window's thread stalls while an open statistics window
// shows a new task in two and a half years of practice, and saves such records as CSV. Prints
// figures; timings never fail the run.
#include "HistoryGenerator.h"
#include "Summary.h"
#include "history/CsvExport.h"
#include "history/HistoryReader.h"
#include "history/HistoryStore.h"
#include "history/TaskRecorder.h"
#include "statistics/StatisticsEntry.h"
#include "training/Exercise.h"
#include "training/NoteModel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLibrary>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int Runs = 5;
constexpr int TasksPerRun = 1000;
constexpr int Exercises = 4000; // of 25 tasks each
constexpr int ManyExercises = 10000;
// Long enough for the statistics window to read and draw the many exercises anew.
constexpr int RefreshWatchMs = 3000;
constexpr int CsvProbeMs = 10;

double elapsedMs(const QElapsedTimer& clock) {
    return double(clock.nsecsElapsed()) / 1e6;
}

double percentile95(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() * 95 / 100];
}

// The 95th percentile of what recording a task costs the window's thread, from the task's end.
double recordingPercentile(const QString& file) {
    Exercise exercise(ExerciseServices{[](const QString&, MessageIcon, const QString&) {},
                                       nullptr,
                                       [] { return 0.5; },
                                       QString(),
                                       {}});
    TaskRecorder recorder(exercise, file);
    exercise.chooseMode(Clef::Violin, false);
    exercise.Start({0, 14, 0, 0, false, false});
    std::vector<double> times;
    for (int task = 0; task < TasksPerRun; ++task) {
        QElapsedTimer clock;
        clock.start();
        emit exercise.taskEnded(
            {task % 25 + 1, 7, 7, true, 900, AnswerInput::Buttons, {}, {}, std::nullopt, true});
        times.push_back(elapsedMs(clock));
    }
    recorder.waitForWrites();
    return percentile95(times);
}

// The 95th percentile of writing one task on the recording thread, to the disk, in a
// transaction of its own.
double writingPercentile(const QString& file) {
    HistoryStore store(file);
    QList<UnwrittenExercise> exercises(1);
    exercises[0].start = {
        QDateTime::currentDateTime(), Clef::Violin, false, 0, 14, 2000, 400, false};
    store.write(exercises);
    std::vector<double> times;
    for (int task = 0; task < TasksPerRun; ++task) {
        exercises[0].tasks = {{{task % 25 + 1,
                                task % 15,
                                task % 15,
                                true,
                                900,
                                AnswerInput::Buttons,
                                {},
                                {},
                                std::nullopt,
                                true},
                               QDateTime::currentDateTime()}};
        QElapsedTimer clock;
        clock.start();
        store.write(exercises);
        times.push_back(elapsedMs(clock));
    }
    return percentile95(times);
}

// The longest the window's thread goes without serving its events while `work` is asked of it
// and until `done`: the gaps between the turns of a timer that fires at every turn, or every
// `probeMs` where a busy window's thread would slow the work beside it.
double longestStall(const std::function<void()>& work, const std::function<bool()>& done,
                    int probeMs = 0) {
    QElapsedTimer clock;
    clock.start();
    double last = 0;
    double longest = 0;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const double now = elapsedMs(clock);
        longest = std::max(longest, now - last);
        last = now;
    });
    probe.start(probeMs);
    QTimer::singleShot(1, work);
    while (!done())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return std::max(longest, elapsedMs(clock) - last);
}

double longestStall(const std::function<void()>& work, int watchMs) {
    QElapsedTimer clock;
    clock.start();
    return longestStall(work, [&clock, watchMs] { return elapsedMs(clock) >= watchMs; });
}

// What starting an exercise that draws weak notes more often costs the window's thread: the
// records of a clef's natural notes, read as the exercise reads them.
std::vector<double> noteRecordTimes(const QString& file, Clef clef, bool earTraining) {
    std::vector<SpelledNote> naturals;
    for (int index = 0; index < NoteCount; ++index)
        naturals.push_back(*clefNote(clef, index));
    std::vector<double> times;
    for (int run = 0; run < Runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        HistoryReader reader(file);
        reader.open();
        readNoteRecords(reader.database(), {}, clef, earTraining, naturals);
        times.push_back(elapsedMs(clock));
    }
    return times;
}

// Saves a statistics window's record as CSV as its button does, once the window has read it:
// the time from the request to the saved file, and the window's longest stall meanwhile.
std::pair<double, double> csvSaving(QWidget* window, const QString& target) {
    const QLabel* sums = window->findChild<QLabel*>(QStringLiteral("lblSummen"));
    while (sums->text().isEmpty())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    // Shown while the CSV is saved.
    const QWidget* progress = window->findChild<QWidget*>(QStringLiteral("prgCsv"));
    QElapsedTimer clock;
    const double stall = longestStall(
        [&] {
            clock.start();
            QMetaObject::invokeMethod(window, "saveCsvAs", Q_ARG(QString, target));
        },
        [&] { return clock.isValid() && progress->isHidden(); }, CsvProbeMs);
    return {elapsedMs(clock), stall};
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QTemporaryDir scratch;

    std::vector<double> recording, writing;
    for (int run = 0; run < Runs; ++run) {
        recording.push_back(
            recordingPercentile(scratch.filePath(QStringLiteral("record-%1.sqlite").arg(run))));
        writing.push_back(
            writingPercentile(scratch.filePath(QStringLiteral("write-%1.sqlite").arg(run))));
    }
    printFigure("recording a task on the window's thread, 95th percentile of 1000", recording, "ms",
                3);
    printFigure("writing a task on the recording thread, 95th percentile of 1000", writing, "ms",
                3);

    const QString year = scratch.filePath(QStringLiteral("verlauf.sqlite"));
    generateHistory(year, Exercises);
    printFigure("history file with 100,000 tasks", {double(QFileInfo(year).size()) / 1e6}, "MB");

    printFigure("each note's record read from 100,000 tasks",
                noteRecordTimes(year, Clef::Violin, false), "ms");

    QLibrary library(QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/") +
                     QString::fromLatin1(StatisticsLibraryName));
    const auto create =
        reinterpret_cast<CreateStatisticsWindow>(library.resolve(CreateStatisticsWindowSymbol));
    if (!create) {
        std::fprintf(stderr, "%s\n", qPrintable(library.errorString()));
        return 1;
    }
    std::vector<double> openTimes;
    for (int run = 0; run < Runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        QWidget* window = create(year, NamingStyle{});
        window->show();
        // The record is read off the window's thread; its figures show when it has been.
        const QLabel* sums = window->findChild<QLabel*>(QStringLiteral("lblSummen"));
        while (sums->text().isEmpty())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        window->grab(); // draws every chart as the screen would
        openTimes.push_back(elapsedMs(clock));
        delete window;
    }
    printFigure("statistics window with 100,000 tasks opened and drawn", openTimes, "ms");

    // A task recorded while the window shows two and a half years of practice.
    const QString many = scratch.filePath(QStringLiteral("many.sqlite"));
    generateHistory(many, ManyExercises);
    // A mode practised less often, whose notes are rarer among the tasks.
    printFigure("each note's record read from 250,000 tasks, treble ear training",
                noteRecordTimes(many, Clef::Violin, true), "ms");
    printFigure("each note's record read from 250,000 tasks, alto clef",
                noteRecordTimes(many, Clef::Alto, false), "ms");

    for (const auto& [file, tasks] : {std::pair{year, "100,000"}, std::pair{many, "250,000"}}) {
        std::vector<double> saveTimes, saveStalls;
        for (int run = 0; run < Runs; ++run) {
            QWidget* shown = create(file, NamingStyle{});
            shown->show();
            const auto [time, stall] =
                csvSaving(shown, scratch.filePath(QStringLiteral("verlauf.csv")));
            saveTimes.push_back(time);
            saveStalls.push_back(stall);
            delete shown;
        }
        printFigure(qPrintable(QStringLiteral("CSV of %1 tasks saved").arg(tasks)), saveTimes,
                    "ms");
        // What the saving itself costs, on the thread that asks for it.
        std::vector<double> writeTimes;
        for (int run = 0; run < Runs; ++run) {
            QElapsedTimer clock;
            clock.start();
            HistoryReader reader(file);
            reader.open();
            saveCsv(reader.database(), file, scratch.filePath(QStringLiteral("direct.csv")));
            writeTimes.push_back(elapsedMs(clock));
        }
        printFigure(qPrintable(QStringLiteral("CSV of %1 tasks written on one thread").arg(tasks)),
                    writeTimes, "ms");
        printFigure(qPrintable(QStringLiteral("window's thread stalled while the CSV of %1 tasks "
                                              "is saved, longest")
                                   .arg(tasks)),
                    saveStalls, "ms");
    }

    QWidget* window = create(many, NamingStyle{});
    window->show();
    longestStall([] {}, RefreshWatchMs);
    std::vector<double> stalls;
    for (int run = 0; run < Runs; ++run)
        stalls.push_back(longestStall(
            [window] { QMetaObject::invokeMethod(window, "refresh", Qt::QueuedConnection); },
            RefreshWatchMs));
    delete window;
    printFigure("window's thread stalled by the statistics window showing a new task among "
                "250,000, longest",
                stalls, "ms");

    // "Verlauf löschen" once the learner has said yes, on a copy each time.
    std::vector<double> clearStalls;
    for (int run = 0; run < Runs; ++run) {
        const QString copy = scratch.filePath(QStringLiteral("cleared-%1.sqlite").arg(run));
        QFile::copy(many, copy);
        QWidget* shown = create(copy, NamingStyle{});
        shown->show();
        const QLabel* sums = shown->findChild<QLabel*>(QStringLiteral("lblSummen"));
        while (sums->text().isEmpty())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        clearStalls.push_back(
            longestStall([shown] { QMetaObject::invokeMethod(shown, "clearRecord"); },
                         [sums] { return sums->text().contains(QStringLiteral("Aufgaben: 0 ")); }));
        delete shown;
    }
    printFigure("window's thread stalled while 250,000 tasks are cleared, longest", clearStalls,
                "ms");
    return 0;
}
