// Start-up time of the program against a bare Qt window: from spawning a program to the first
// paint of its main window, watched from outside through the X server's damage reports, so the
// program needs no hooks. Run on a private X server where nothing else draws.
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int measuredRuns = 7;
constexpr int windowWidth = 741;
constexpr int windowHeight = 490;
// Rounding of the logical size may cost a pixel or two.
constexpr int sizeTolerance = 4;
constexpr auto paintTimeout = 20s;
constexpr auto terminateGrace = 2s;
// Lets the server repaint the root window where the killed program's window was.
constexpr auto pauseBetweenRuns = 500ms;
constexpr double targetRatio = 1.3;

struct Run {
    const char* kind;
    const char* program;
    std::vector<double> milliseconds;
};

struct Watch {
    Display* display;
    int damageEventBase;
};

bool nearly(int actual, int expected) {
    return std::abs(actual - expected) <= sizeTolerance;
}

// Qt gives its windows no background, so mapping one paints nothing: the first damage that
// covers the window is the toolkit putting its first frame on screen.
bool coversWindow(const XRectangle& damage, const XWindowAttributes& window) {
    return damage.x <= window.x + sizeTolerance && damage.y <= window.y + sizeTolerance &&
           damage.x + damage.width >= window.x + window.width - sizeTolerance &&
           damage.y + damage.height >= window.y + window.height - sizeTolerance;
}

int ignoreXError(Display*, XErrorEvent*) {
    return 0;
}

std::optional<pid_t> spawn(const char* program) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    char* argv[] = {const_cast<char*>(program), nullptr};
    pid_t pid = 0;
    const int error = posix_spawn(&pid, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        return std::nullopt;
    return pid;
}

bool exitedWithin(pid_t pid, Clock::duration limit) {
    const auto deadline = Clock::now() + limit;
    while (Clock::now() < deadline) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return true;
        std::this_thread::sleep_for(10ms);
    }
    return false;
}

// The program ignores close requests, so it is ended by signal.
void stop(pid_t pid) {
    kill(pid, SIGTERM);
    if (exitedWithin(pid, terminateGrace))
        return;
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

void discardEvents(Display* display) {
    XSync(display, False);
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
    }
}

// Milliseconds from spawning the program to the first paint of its main window.
std::optional<double> measure(const Watch& watch, const char* program) {
    discardEvents(watch.display);
    const auto start = Clock::now();
    const std::optional<pid_t> pid = spawn(program);
    if (!pid)
        return std::nullopt;

    std::optional<XWindowAttributes> window;
    std::optional<double> painted;
    bool exited = false;
    const int fd = ConnectionNumber(watch.display);
    while (!painted && !exited && Clock::now() - start < paintTimeout) {
        if (XPending(watch.display) == 0) {
            pollfd readable{fd, POLLIN, 0};
            poll(&readable, 1, 10);
            exited = waitpid(*pid, nullptr, WNOHANG) == *pid;
            continue;
        }
        XEvent event;
        XNextEvent(watch.display, &event);
        const auto received = Clock::now();
        if (event.type == MapNotify && !window) {
            XWindowAttributes attributes;
            if (XGetWindowAttributes(watch.display, event.xmap.window, &attributes) != 0 &&
                nearly(attributes.width, windowWidth) && nearly(attributes.height, windowHeight))
                window = attributes;
        } else if (event.type == watch.damageEventBase + XDamageNotify) {
            const auto& damage = reinterpret_cast<const XDamageNotifyEvent&>(event);
            if (window && coversWindow(damage.area, *window))
                painted = std::chrono::duration<double, std::milli>(received - start).count();
        }
    }
    if (!exited)
        stop(*pid);
    std::this_thread::sleep_for(pauseBetweenRuns);
    return painted;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void printTable(const std::vector<Run>& runs) {
    std::printf("start to first painted window, %d runs each, interleaved\n", measuredRuns);
    std::printf("%-8s %10s %10s %10s\n", "run", "median ms", "min ms", "max ms");
    for (const Run& run : runs) {
        const auto [low, high] =
            std::minmax_element(run.milliseconds.begin(), run.milliseconds.end());
        std::printf("%-8s %10.1f %10.1f %10.1f\n", run.kind, median(run.milliseconds), *low, *high);
    }
    const double ratio = median(runs[1].milliseconds) / median(runs[0].milliseconds);
    std::printf("ratio %s/%s (medians): %.2f  (target <= %.2f)\n", runs[1].kind, runs[0].kind,
                ratio, targetRatio);
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s BARE_WINDOW_PROGRAM VIRELO_PROGRAM\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "cannot open the X display\n");
        return 1;
    }
    int damageEventBase = 0;
    int damageErrorBase = 0;
    if (!XDamageQueryExtension(display, &damageEventBase, &damageErrorBase)) {
        std::fprintf(stderr, "the X server lacks the DAMAGE extension\n");
        return 1;
    }
    // A window destroyed before its attributes are read is no error worth stopping for.
    XSetErrorHandler(ignoreXError);
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XDamageCreate(display, root, XDamageReportRawRectangles);
    const Watch watch{display, damageEventBase};

    std::vector<Run> runs = {{"bare", argv[1], {}}, {"virelo", argv[2], {}}};
    // The first start of each fills the file cache; virelo's also writes its settings, so the
    // measured starts are second starts, as a learner's usually are.
    for (int round = -1; round < measuredRuns; ++round) {
        for (Run& run : runs) {
            const std::optional<double> ms = measure(watch, run.program);
            if (!ms) {
                std::fprintf(stderr, "%s: exited or painted no %dx%d window within %lld s\n",
                             run.program, windowWidth, windowHeight,
                             static_cast<long long>(paintTimeout.count()));
                return 1;
            }
            if (round >= 0)
                run.milliseconds.push_back(*ms);
        }
    }
    printTable(runs);
    XCloseDisplay(display);
    return 0;
}
