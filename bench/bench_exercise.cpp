// The real program through whole exercises, worked by a simulated learner on a private X server
// with a private PulseAudio server: its peak resident memory through an exercise of 25 right
// answers, its processor time while idle between exercises (and whether a sound stream stays
// open), and while a task waits for its answer. With --microphone the learner has chosen to
// answer with the microphone, which the private server's recording device serves. Run it through
// ./benchmark, which gives it a private X server and a scratch home. Prints figures; timings
// never fail the run.
#include "ChildProcess.h"
#include "PrivatePulseServer.h"
#include "ProcessUsage.h"
#include "ScreenDriver.h"
#include "Summary.h"

#include <X11/keysym.h>

#include <QCoreApplication>
#include <QSettings>

#include <cmath>
#include <cstdio>
#include <numeric>
#include <optional>
#include <thread>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int runs = 3;
constexpr int tasksPerExercise = 25;
constexpr auto windowLimit = 20s;
// A task opens once its note has sounded, about 1.3 s after the answer before.
constexpr auto taskLimit = 10s;
constexpr auto settle = 1s;
constexpr auto idleSpan = 10s;
// Inside the 9 s per note that the program's first start sets.
constexpr auto taskSpan = 8s;

// Positions from the window layouts in src/forms, in twips; 15 twips make a pixel.
struct Point {
    int x;
    int y;
};
constexpr int pixels(double twips) {
    return int(twips / 15.0 + 0.5);
}
constexpr Point centre(double left, double top, double width, double height) {
    return {pixels(left + width / 2), pixels(top + height / 2)};
}

// The windows' titles, in German, which the settings below choose.
constexpr const char* mainTitle = "Virelo 5.50 (Build: b)";
constexpr const char* settingsTitle = "Einstellungen";
constexpr const char* messageTitle = "virel5";
constexpr Point violinButton = centre(120, 120, 1455, 375);
constexpr Point startButton = centre(1320, 5040, 1815, 375);
// The treble-clef range box of a note, inside its frame at (120, 1680).
constexpr Point rangeBox(int note) {
    return centre(120 + 240 + 600 * note, 1680 + 480, 615, 495);
}
constexpr Point answerButton(int note) {
    return centre(120 + 720 * note, 5040, 735, 495);
}

// The range is two neighbouring notes, told apart by the height of the white head: 375 twips
// high, its top at 2576 twips for note 7 and 2408 for note 8, centred on 3884.5 + 855 / 2.
constexpr int lowestNote = 7;
constexpr int highestNote = 8;
constexpr double lowestNoteCentre = (2576 + 187.5) / 15;
constexpr double highestNoteCentre = (2408 + 187.5) / 15;
constexpr int headColumn = pixels(3884.5 + 855.0 / 2);
constexpr int headSearchTop = 140;
constexpr int headSearchBottom = 220;

void clickAt(ScreenDriver& screen, ScreenDriver::Window window, Point point) {
    screen.click(window, point.x, point.y);
}

// Through the settings dialog to the first task, as shown once its note has sounded.
bool startExercise(ScreenDriver& screen, ScreenDriver::Window main) {
    screen.discardEvents();
    clickAt(screen, main, violinButton);
    const std::optional<ScreenDriver::Window> dialog =
        screen.waitForWindow(windowLimit, settingsTitle);
    if (!dialog || !screen.waitForFullPaint(*dialog, windowLimit))
        return false;
    clickAt(screen, *dialog, rangeBox(lowestNote));
    clickAt(screen, *dialog, rangeBox(highestNote));
    screen.discardEvents();
    clickAt(screen, *dialog, startButton);
    return screen.waitForFullPaint(main, taskLimit);
}

std::optional<int> askedNote(ScreenDriver& screen, ScreenDriver::Window main) {
    const std::vector<int> rows =
        screen.whiteRows(main, headColumn, headSearchTop, headSearchBottom);
    if (rows.empty())
        return std::nullopt;
    const double middle = std::accumulate(rows.begin(), rows.end(), 0.0) / double(rows.size());
    return std::abs(middle - lowestNoteCentre) < std::abs(middle - highestNoteCentre) ? lowestNote
                                                                                      : highestNote;
}

// Answers every task right; the message with the result once it is shown.
std::optional<ScreenDriver::Window> answerAll(ScreenDriver& screen, ScreenDriver::Window main) {
    for (int task = 1; task <= tasksPerExercise; ++task) {
        const std::optional<int> note = askedNote(screen, main);
        if (!note)
            return std::nullopt;
        screen.discardEvents();
        clickAt(screen, main, answerButton(*note));
        // Every task repaints the whole window, even when it asks the same note again.
        if (task < tasksPerExercise && !screen.waitForFullPaint(main, taskLimit))
            return std::nullopt;
    }
    const std::optional<ScreenDriver::Window> result =
        screen.waitForWindow(windowLimit, messageTitle);
    if (!result || !screen.waitForFullPaint(*result, windowLimit))
        return std::nullopt;
    return result;
}

std::optional<double> processorPercent(pid_t pid, Clock::duration span) {
    const std::optional<double> before = processorSeconds(pid);
    const auto start = Clock::now();
    std::this_thread::sleep_for(span);
    const std::optional<double> after = processorSeconds(pid);
    const std::chrono::duration<double> elapsed = Clock::now() - start;
    if (!before || !after)
        return std::nullopt;
    return 100 * (*after - *before) / elapsed.count();
}

// Playback streams on the server named by PULSE_SERVER.
std::optional<double> openStreams() {
    FILE* pactl = popen("pactl list short sink-inputs 2>/dev/null", "r");
    if (!pactl)
        return std::nullopt;
    int lines = 0;
    for (int c = std::fgetc(pactl); c != EOF; c = std::fgetc(pactl))
        lines += c == '\n' ? 1 : 0;
    return pclose(pactl) == 0 ? std::optional<double>(lines) : std::nullopt;
}

struct Figures {
    std::vector<double> peakMegabytes;
    std::vector<double> idlePercent;
    std::vector<double> idleStreams;
    std::vector<double> taskPercent;
};

// An exercise of right answers, a pause, and the first task of a second exercise; names the step
// that failed, if one did.
const char* workThrough(ScreenDriver& screen, pid_t pid, Figures& figures) {
    const std::optional<ScreenDriver::Window> main = screen.waitForWindow(windowLimit, mainTitle);
    if (!main || !screen.waitForFullPaint(*main, windowLimit))
        return "showing the main window";
    if (!startExercise(screen, *main))
        return "starting the exercise";
    const std::optional<ScreenDriver::Window> result = answerAll(screen, *main);
    if (!result)
        return "answering the tasks";
    const std::optional<double> peak = peakResidentMegabytes(pid);
    screen.pressKey(*result, XK_space);
    std::this_thread::sleep_for(settle);
    const std::optional<double> idle = processorPercent(pid, idleSpan);
    const std::optional<double> streams = openStreams();
    if (!startExercise(screen, *main))
        return "starting the second exercise";
    const std::optional<double> task = processorPercent(pid, taskSpan);
    if (!peak || !idle || !streams || !task)
        return "reading /proc or pactl";
    figures.peakMegabytes.push_back(*peak);
    figures.idlePercent.push_back(*idle);
    figures.idleStreams.push_back(*streams);
    figures.taskPercent.push_back(*task);
    return nullptr;
}

} // namespace

int main(int argc, char* argv[]) {
    const QCoreApplication app(argc, argv);
    const bool microphone = argc == 3 && qstrcmp(argv[2], "--microphone") == 0;
    if (argc != 2 && !microphone) {
        std::fprintf(stderr, "usage: %s VIRELO_PROGRAM [--microphone]\n", argv[0]);
        return 2;
    }
    // The program's settings in the scratch home, as the settings dialog stores the choice.
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("virel542"));
    settings.setValue(QStringLiteral("Einstellungen/Mikrofon"),
                      microphone ? QStringLiteral("1") : QStringLiteral("0"));
    settings.setValue(QStringLiteral("Einstellungen/Sprache"), QStringLiteral("Deutsch"));
    settings.sync();
    ScreenDriver screen;
    if (!screen.isReady()) {
        std::fprintf(stderr, "no X display with the DAMAGE and XTEST extensions\n");
        return 1;
    }
    const PrivatePulseServer server;
    if (!server.isRunning()) {
        std::fprintf(stderr, "pulseaudio is not installed or would not start\n");
        return 1;
    }
    qputenv("PULSE_SERVER", server.address().toLocal8Bit());

    Figures figures;
    for (int run = 0; run < runs; ++run) {
        screen.discardEvents();
        const std::optional<pid_t> pid = spawnProgram(argv[1]);
        const char* failed = pid ? workThrough(screen, *pid, figures) : "starting the program";
        if (pid)
            stopProgram(*pid);
        if (failed) {
            std::fprintf(stderr, "run %d failed at %s\n", run + 1, failed);
            return 1;
        }
    }
    printFigure(microphone ? "peak resident memory through an exercise with the microphone"
                           : "peak resident memory through an exercise",
                figures.peakMegabytes, "MB");
    printFigure("processor idle between exercises", figures.idlePercent, "%", 2);
    printFigure("sound streams open while idle", figures.idleStreams, "streams", 0);
    printFigure("processor while a task waits", figures.taskPercent, "%", 2);
    return 0;
}
