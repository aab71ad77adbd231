// From a right answer to the first sound of the next note: the answer button is clicked on the
// real main window, whose next task plays through the real FluidSynthPlayer into a private
// PulseAudio server with a null sink. Also tells the part spent before playFile is entered.
// Prints medians; timings never fail the run.
#include "MonitorCapture.h"
#include "PrivatePulseServer.h"
#include "Summary.h"
#include "feedback/FluidSynthPlayer.h"
#include "forms/Form1.h"
#include "training/Exercise.h"
#include "training/NoteModel.h"

#include <QApplication>
#include <QEventLoop>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int answers = 15;
// Lets the previous note's stream close and the recording fall silent.
constexpr int pauseMilliseconds = 300;
constexpr std::int16_t audibleLevel = 16;

// Notes when the main window asks for a note, then plays it for real.
class TimedPlayer final : public NotePlayer {
public:
    explicit TimedPlayer(NotePlayer& real) : real_(real) {}
    void playFile(const QString& midiPath) override { playFileTransposed(midiPath, 0); }
    void playFileTransposed(const QString& midiPath, int semitones) override {
        entered = Clock::now();
        real_.playFileTransposed(midiPath, semitones);
    }
    Clock::time_point entered;

private:
    NotePlayer& real_;
};

double milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

void waitBetweenAnswers() {
    QEventLoop loop;
    QTimer::singleShot(pauseMilliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const PrivatePulseServer server;
    if (!server.isRunning()) {
        std::printf("pulseaudio is not installed or would not start: no latency measured\n");
        return 0;
    }
    qputenv("PULSE_SERVER", server.address().toLocal8Bit());
    FluidSynthPlayer player;
    MonitorCapture capture;
    if (!player.waitForSoundFont() || !capture.isRunning()) {
        std::printf("no SoundFont or no parec: no latency measured\n");
        return 0;
    }
    // Until the recording steadies the null sink, it may still render two seconds ahead.
    std::this_thread::sleep_for(2s);

    TimedPlayer timed(player);
    ExerciseServices services;
    services.player = &timed;
    services.random = [] { return double(std::rand()) / (double(RAND_MAX) + 1); };
    services.message = [](const QString&, MessageIcon, const QString&) {};
    services.programDir = QStringLiteral(VIRELO_PROGRAM_DIR);
    Exercise exercise(services);
    Form1Services windowServices;
    windowServices.runModal = [](QDialog&) {};
    Form1 form(exercise, windowServices);
    exercise.chooseMode(Clef::Violin, false);
    form.show();
    exercise.Start({0, NoteCount - 1, 0, 0, false});

    struct Answer {
        Clock::time_point clicked;
        Clock::time_point entered;
    };
    std::vector<Answer> given;
    for (int i = 0; i < answers; ++i) {
        waitBetweenAnswers();
        const Clock::time_point clicked = Clock::now();
        // Returns once the next note has sounded.
        form.cmdNoteViolin[std::size_t(exercise.askedNote())]->click();
        given.push_back({clicked, timed.entered});
    }
    capture.stop();

    // The server mixed the first audible sample no later than it arrived here.
    const std::vector<std::int16_t>& played = capture.samples();
    std::vector<double> toPlayFile; // microseconds
    std::vector<double> toSound;
    for (const Answer& answer : given) {
        toPlayFile.push_back(1000 * milliseconds(answer.entered - answer.clicked));
        const auto first =
            played.begin() + std::ptrdiff_t(capture.firstArrivedAfter(answer.clicked));
        const auto onset = std::find_if(first, played.end(), [](std::int16_t sample) {
            return std::abs(sample) > audibleLevel;
        });
        if (onset != played.end())
            toSound.push_back(milliseconds(capture.arrivalOf(std::size_t(onset - played.begin())) -
                                           answer.clicked));
    }
    printFigure("right answer to playFile", toPlayFile, "us", 0);
    if (toSound.empty())
        std::printf("no note reached the sound server\n");
    else
        printFigure("right answer to first sound", toSound, "ms");
    return 0;
}
