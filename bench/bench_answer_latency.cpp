// From a right answer to the first sound of the next note: the answer button is clicked on the
// real main window, whose next task plays through the real FluidSynthPlayer into a private
// PulseAudio server with a null sink. Also tells the part spent before playFile is entered. In
// a phrase, from a right answer to the mark moving on and to the answer's own sound.
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
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
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
    void startFileTransposed(const QString& midiPath, int semitones) override {
        entered = Clock::now();
        real_.startFileTransposed(midiPath, semitones);
    }
    void playPitches(const std::vector<int>& midiPitches, int msPerNote) override {
        entered = Clock::now();
        real_.playPitches(midiPitches, msPerNote);
    }
    Clock::time_point entered;

private:
    NotePlayer& real_;
};

double milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

void waitBetweenAnswers(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

struct Answer {
    Clock::time_point clicked;
    Clock::time_point entered;
    Clock::time_point marked; // a phrase's mark moved on, or its next phrase showed
};
using Latency = std::vector<Answer>;

// One exercise on the real window, `answers` right answers clicked.
Latency measure(NotePlayer& player, int fifths, int notesPerTask = 1) {
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
    ExerciseSettings settings{0, NoteCount - 1, 0, 0, false};
    settings.keyFifths = fifths;
    settings.notesPerTask = notesPerTask;
    Clock::time_point marked;
    const auto mark = [&marked] { marked = Clock::now(); };
    QObject::connect(&exercise, &Exercise::markMoved, mark);
    QObject::connect(&exercise, &Exercise::phraseShown, mark);
    exercise.Start(settings);

    // An answer in a phrase sounds for 1.3 s: the next is given once it has.
    const int pause = notesPerTask > 1 ? 1700 : pauseMilliseconds;
    Latency given;
    for (int i = 0; i < answers; ++i) {
        waitBetweenAnswers(pause);
        const Clock::time_point clicked = Clock::now();
        if (exercise.askedSpelled().alteration > 0)
            form.cmdVorzeichen[2]->click();
        // Returns once the next note has sounded.
        form.cmdNoteViolin[std::size_t(exercise.askedIndex())]->click();
        given.push_back({clicked, timed.entered, marked});
    }
    exercise.abort();
    return given;
}

// The server mixed the first audible sample no later than it arrived here.
std::vector<double> toSound(const MonitorCapture& capture, const Latency& given) {
    const std::vector<std::int16_t>& played = capture.samples();
    std::vector<double> result;
    for (const Answer& answer : given) {
        const auto first =
            played.begin() + std::ptrdiff_t(capture.firstArrivedAfter(answer.clicked));
        const auto onset = std::find_if(first, played.end(), [](std::int16_t sample) {
            return std::abs(sample) > audibleLevel;
        });
        if (onset != played.end())
            result.push_back(milliseconds(capture.arrivalOf(std::size_t(onset - played.begin())) -
                                          answer.clicked));
    }
    return result;
}

void report(const MonitorCapture& capture, const Latency& given, const char* variant) {
    std::vector<double> toPlayFile; // microseconds
    for (const Answer& answer : given)
        toPlayFile.push_back(1000 * milliseconds(answer.entered - answer.clicked));
    const std::vector<double> sound = toSound(capture, given);
    const std::string name = std::string("right answer to playFile") + variant;
    printFigure(name.c_str(), toPlayFile, "us", 0);
    if (given.front().marked != Clock::time_point()) {
        std::vector<double> toMark; // microseconds
        for (const Answer& answer : given)
            toMark.push_back(1000 * milliseconds(answer.marked - answer.clicked));
        printFigure((std::string("right answer to the mark moving on") + variant).c_str(), toMark,
                    "us", 0);
    }
    if (sound.empty())
        std::printf("no note reached the sound server%s\n", variant);
    else
        printFigure((std::string("right answer to first sound") + variant).c_str(), sound, "ms");
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

    // Today's plain exercise, then one in C sharp major (seven sharps drawn after the clef,
    // every note sounded a semitone up) answered with the sharp toggle and the button.
    const Latency plain = measure(player, 0);
    const Latency sevenSharps = measure(player, 7);
    // A phrase of four: the answer starts its own sound and the mark moves on.
    const Latency phrase = measure(player, 0, 4);
    capture.stop();
    report(capture, plain, "");
    report(capture, sevenSharps, ", 7 sharps");
    report(capture, phrase, ", phrase of 4");
    const auto medianOf = [&capture](const Latency& latency) {
        std::vector<double> sound = toSound(capture, latency);
        if (sound.empty())
            return std::nan("");
        std::sort(sound.begin(), sound.end());
        return sound[sound.size() / 2];
    };
    printFigure("right answer to first sound, 7 sharps minus plain",
                {medianOf(sevenSharps) - medianOf(plain)}, "ms", 2);
    printFigure("right answer to first sound, phrase of 4 minus plain",
                {medianOf(phrase) - medianOf(plain)}, "ms", 2);
    return 0;
}
