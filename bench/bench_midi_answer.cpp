// From a MIDI note-on to the answer judged, which calls the next note's playback: keys from a
// JACK client reach the program's input port on a private JACK server (dummy back end, 5.3 ms
// periods) and answer through the real MIDI input. Then the processor time the process takes
// while the port is open and nothing happens. Prints medians; timings never fail the run.
#include "JackTestKeyboard.h"
#include "PrivateJackServer.h"
#include "Summary.h"
#include "input/MidiAnswers.h"
#include "input/SystemMidiInput.h"
#include "training/Exercise.h"
#include "training/NoteModel.h"
#include "training/NotePlayer.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

using Clock = JackTestKeyboard::Clock;

constexpr int answers = 20;
constexpr int pauseMilliseconds = 50;
constexpr int idleSeconds = 10;

// Notes when the exercise asks for the next note, and returns at once.
class TimedPlayer final : public NotePlayer {
public:
    void playFile(const QString&) override {
        entered = Clock::now();
        ++calls;
    }
    void playFileTransposed(const QString& midiPath, int) override { playFile(midiPath); }
    void startFileTransposed(const QString&, int) override {}
    void playPitches(const std::vector<int>&, int) override {}
    Clock::time_point entered;
    int calls = 0;
};

template <class Condition> bool runUntil(Condition done, int milliseconds) {
    const QDeadlineTimer deadline(milliseconds);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    return done();
}

void pause(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

double milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

double processSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    // 5.3 ms periods, a common low-latency setting.
    const PrivateJackServer server(256);
    if (!server.isRunning()) {
        std::printf("jackd is not installed or would not start: nothing measured\n");
        return 0;
    }
    TimedPlayer player;
    ExerciseServices services;
    services.message = [](const QString&, MessageIcon, const QString&) {};
    services.player = &player;
    services.random = [] { return double(std::rand()) / (double(RAND_MAX) + 1); };
    services.programDir = QStringLiteral("/nowhere");
    Exercise exercise(services);
    MidiAnswers midi(exercise, std::make_unique<SystemMidiInput>());
    midi.open();

    auto keyboard = std::make_unique<JackTestKeyboard>();
    const std::string input = "Virelo:Eingang";
    if (!keyboard->isOpen() || !runUntil([&] { return keyboard->portExists(input); }, 10000) ||
        !keyboard->connect(keyboard->outputName(), input)) {
        std::printf("the MIDI input did not open: nothing measured\n");
        return 0;
    }

    exercise.chooseMode(Clef::Violin, false);
    exercise.Start({0, NoteCount - 1, 0, 0, false});
    std::vector<double> fromSent;
    std::vector<double> fromRequest;
    for (int i = 0; i < answers; ++i) {
        pause(pauseMilliseconds);
        const int calls = player.calls;
        const Clock::time_point requested = Clock::now();
        keyboard->press(clefNote(Clef::Violin, exercise.askedIndex())->midiPitch());
        if (!runUntil([&] { return player.calls > calls; }, 2000)) {
            std::printf("a key was not taken as the answer\n");
            return 0;
        }
        fromSent.push_back(milliseconds(player.entered - keyboard->lastSent()));
        fromRequest.push_back(milliseconds(player.entered - requested));
    }
    exercise.abort();
    printFigure("MIDI note-on sent to answer judged", fromSent, "ms", 2);
    printFigure("MIDI note-on asked for to answer judged", fromRequest, "ms", 2);

    // Only the program's own port stays on the server.
    keyboard.reset();
    pause(1000);
    const double before = processSeconds();
    pause(idleSeconds * 1000);
    const double idle = 100 * (processSeconds() - before) / idleSeconds;
    printFigure("processor idle with the MIDI port open on JACK", {idle}, "%", 3);
    return 0;
}
