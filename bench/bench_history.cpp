// The record of the tasks: how long recording one task keeps the window's thread, how long its
// writing takes on the recording thread, how long the statistics window takes to open and draw
// a year of practice (100,000 tasks), with the size of that file and the time to read each note's
// record from it, and the longest the window's thread stalls while an open statistics window
// shows a new task in two and a half years of practice. Prints figures; timings never fail the run.
#include "HistoryGenerator.h"
#include "Summary.h"
#include "history/HistoryReader.h"
#include "history/HistoryStore.h"
#include "history/TaskRecorder.h"
#include "statistics/StatisticsEntry.h"
#include "training/Exercise.h"

#include <QApplication>
#include <QElapsedTimer>
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
        emit exercise.taskEnded({task % 25 + 1, 7, 7, true, 900, AnswerInput::Buttons});
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
        exercises[0].tasks = {
            {{task % 25 + 1, task % 15, task % 15, true, 900, AnswerInput::Buttons},
             QDateTime::currentDateTime()}};
        QElapsedTimer clock;
        clock.start();
        store.write(exercises);
        times.push_back(elapsedMs(clock));
    }
    return percentile95(times);
}

// The longest the window's thread goes without serving its events while `work` is asked of it
// and for `watchMs` after: the gaps between the turns of a timer that fires at every turn.
double longestStall(const std::function<void()>& work, int watchMs) {
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
    probe.start(0);
    QTimer::singleShot(1, work);
    while (elapsedMs(clock) < watchMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return longest;
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

    // What starting an exercise that draws weak notes more often costs the window's thread.
    std::vector<double> readTimes;
    for (int run = 0; run < Runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        HistoryReader reader(year);
        reader.open();
        readNoteRecords(reader.database(), {}, Clef::Violin, false);
        readTimes.push_back(elapsedMs(clock));
    }
    printFigure("each note's record read from 100,000 tasks", readTimes, "ms");

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
    return 0;
}
