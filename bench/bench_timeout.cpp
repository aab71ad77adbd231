// How far the time-out of a task lands from the time per note, with the other core kept busy.
// Prints median, min and max of 20 time-outs of one second each; never fails on a timing.
#include "Summary.h"
#include "forms/Form1.h"
#include "training/Exercise.h"
#include "training/NotePlayer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStandardPaths>

#include <csignal>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Runs = 20;
constexpr int TimePerNoteHundredths = 100;

// The task's time starts when its note has sounded, that is when playFile returns.
class ClockedPlayer : public NotePlayer {
public:
    explicit ClockedPlayer(QElapsedTimer& clock) : m_clock(clock) {}
    void playFile(const QString&) override { taskStartMs = double(m_clock.nsecsElapsed()) / 1e6; }
    void playFileTransposed(const QString& midiPath, int) override { playFile(midiPath); }
    void startFileTransposed(const QString&, int) override {}
    void playPitches(const std::vector<int>&, int) override {}
    double taskStartMs = 0;

private:
    QElapsedTimer& m_clock;
};

pid_t startBusyLoop() {
    const pid_t pid = fork();
    if (pid == 0) {
        volatile unsigned long spin = 0;
        for (;;)
            spin = spin + 1;
    }
    return pid;
}

} // namespace

int main(int argc, char* argv[]) {
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);

    QElapsedTimer clock;
    clock.start();
    ClockedPlayer player(clock);
    std::vector<double> errors;

    ExerciseServices services;
    services.player = &player;
    services.random = [] { return 0.5; };
    services.message = [&](const QString&, MessageIcon, const QString&) {
        const double elapsed = double(clock.nsecsElapsed()) / 1e6 - player.taskStartMs;
        errors.push_back(elapsed - TimePerNoteHundredths * 10.0);
        if (errors.size() == Runs)
            QCoreApplication::exit(0); // quit() would ask the main window to close; it refuses
    };

    Exercise exercise(services);
    Form1Services windowServices;
    windowServices.runModal = [](QDialog&) {};
    Form1 form(exercise, windowServices);
    exercise.chooseMode(Clef::Violin, false);
    form.show();

    const pid_t busy = startBusyLoop();
    exercise.Start({0, 14, 0, TimePerNoteHundredths, false});
    QApplication::exec();

    kill(busy, SIGKILL);
    waitpid(busy, nullptr, 0);

    const std::string label = "time-out error against " +
                              std::to_string(TimePerNoteHundredths * 10) + " ms, other core busy";
    printFigure(label.c_str(), errors, "ms", 2);
    return 0;
}
