// The window's longest stall caused by the record while another program holds it with BEGIN
// IMMEDIATE: starting an exercise that draws weak notes more often, right after an exercise whose
// tasks the lock kept out, and ending the program with such tasks unwritten. Another copy of this
// benchmark holds the lock. Prints figures; timings never fail the run.
#include "Summary.h"
#include "history/TaskRecorder.h"
#include "training/Exercise.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int Runs = 3;
constexpr int HoldMs = 4000;
const QString HoldArgument = QStringLiteral("--hold");

double elapsedMs(const QElapsedTimer& clock) {
    return double(clock.nsecsElapsed()) / 1e6;
}

// The other program: holds the file's write lock for HoldMs, and says when it has it.
int holdLock(const QString& file) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
        db.setDatabaseName(file);
        if (!db.open())
            return 1;
        QSqlQuery query(db);
        if (!query.exec(QStringLiteral("BEGIN IMMEDIATE")))
            return 1;
        std::printf("held\n");
        std::fflush(stdout);
        QThread::msleep(HoldMs);
        query.exec(QStringLiteral("COMMIT"));
    }
    return 0;
}

struct LockHolder {
    explicit LockHolder(const QString& file) {
        process.start(QCoreApplication::applicationFilePath(), {HoldArgument, file});
        process.waitForReadyRead(10'000);
    }
    ~LockHolder() { process.waitForFinished(HoldMs + 10'000); }
    QProcess process;
};

// An exercise whose weak notes come from the recorder, as in the program.
struct Practice {
    explicit Practice(const QString& file)
        : exercise(ExerciseServices{[](const QString&, MessageIcon, const QString&) {}, nullptr,
                                    [] { return 0.5; }, QString(),
                                    [this](Clef clef, bool earTraining) {
                                        return recorder->noteRecords(clef, earTraining);
                                    }}) {
        recorder = std::make_unique<TaskRecorder>(exercise, file);
        recorder->openStore();
        recorder->waitForWrites();
    }
    // A whole exercise of 25 tasks; the longest a task's end kept the window's thread.
    double playExercise() {
        exercise.chooseMode(Clef::Violin, false);
        exercise.Start({0, 14, 0, 0, false, false});
        double longest = 0;
        for (int task = 1; task <= 25; ++task) {
            QElapsedTimer clock;
            clock.start();
            emit exercise.taskEnded({task, task % 15, task % 15, true, 900, AnswerInput::Buttons});
            longest = std::max(longest, elapsedMs(clock));
        }
        exercise.abort();
        return longest;
    }
    double startWeighted() {
        exercise.chooseMode(Clef::Violin, false);
        QElapsedTimer clock;
        clock.start();
        exercise.Start({0, 14, 0, 0, false, true});
        const double ms = elapsedMs(clock);
        exercise.abort();
        return ms;
    }
    double end() {
        QElapsedTimer clock;
        clock.start();
        recorder.reset();
        return elapsedMs(clock);
    }
    Exercise exercise;
    std::unique_ptr<TaskRecorder> recorder;
};

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc == 3 && app.arguments().at(1) == HoldArgument)
        return holdLock(app.arguments().at(2));
    QTemporaryDir scratch;
    std::vector<double> tasks, starts, ends;
    for (int run = 0; run < Runs; ++run) {
        const QString file = scratch.filePath(QStringLiteral("start-%1.sqlite").arg(run));
        Practice practice(file);
        {
            LockHolder holder(file);
            tasks.push_back(practice.playExercise());
            starts.push_back(practice.startWeighted());
        }
        practice.end();
    }
    for (int run = 0; run < Runs; ++run) {
        const QString file = scratch.filePath(QStringLiteral("end-%1.sqlite").arg(run));
        Practice practice(file);
        LockHolder holder(file);
        practice.playExercise();
        ends.push_back(practice.end());
    }
    printFigure("record locked by another program: a task's end on the window's thread", tasks,
                "ms", 2);
    printFigure("record locked by another program: starting a weighted exercise", starts, "ms");
    printFigure("record locked by another program: ending the program", ends, "ms");
    return 0;
}
