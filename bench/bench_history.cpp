// The record of the tasks: how long recording one task keeps the window's thread, how long its
// writing takes on the recording thread, and how long the statistics window takes to open and draw
// a year of practice (100,000 tasks), with the size of that file. Prints figures; timings never
// fail the run.
#include "HistoryGenerator.h"
#include "Summary.h"
#include "history/HistoryStore.h"
#include "history/TaskRecorder.h"
#include "statistics/StatisticsEntry.h"
#include "training/Exercise.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLibrary>
#include <QTemporaryDir>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Runs = 5;
constexpr int TasksPerRun = 1000;
constexpr int Exercises = 4000; // of 25 tasks each

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

// The 95th percentile of writing one task on the recording thread, to the disk.
double writingPercentile(const QString& file) {
    HistoryStore store(file);
    store.open();
    const auto exercise = store.beginExercise(
        {QDateTime::currentDateTime(), Clef::Violin, false, 0, 14, 2000, 400, false});
    std::vector<double> times;
    for (int task = 0; task < TasksPerRun; ++task) {
        QElapsedTimer clock;
        clock.start();
        store.recordTask(*exercise,
                         {task % 25 + 1, task % 15, task % 15, true, 900, AnswerInput::Buttons},
                         QDateTime::currentDateTime());
        times.push_back(elapsedMs(clock));
    }
    return percentile95(times);
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
        window->grab(); // draws every chart as the screen would
        openTimes.push_back(elapsedMs(clock));
        delete window;
    }
    printFigure("statistics window with 100,000 tasks opened and drawn", openTimes, "ms");
    return 0;
}
