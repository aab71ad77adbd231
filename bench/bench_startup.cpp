// Start-up time of the program against a bare Qt window: from spawning a program to the first
// paint of its main window, watched from outside through the X server's damage reports, so the
// program needs no hooks. Run on a private X server where nothing else draws. Compares any two
// programs that show a window with the main window's title: the second against the first.
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include "ChildProcess.h"
#include "Summary.h"
#include "WindowTitle.h"

#include <poll.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int measuredRuns = 11;
// The main window's title, which the bare window borrows.
constexpr const char* windowTitleWatched = "Virelo 5.50 (Build: b)";
// Rounding of the logical size may cost a pixel or two.
constexpr int sizeTolerance = 4;
constexpr auto paintTimeout = 20s;
// Lets the server repaint the root window where the killed program's window was.
constexpr auto pauseBetweenRuns = 500ms;

struct Run {
    std::string name;
    const char* program;
    std::vector<double> milliseconds;
};

struct Watch {
    Display* display;
    int damageEventBase;
};

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
    const std::optional<pid_t> pid = spawnProgram(program);
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
            if (!event.xmap.override_redirect &&
                windowTitle(watch.display, event.xmap.window) == windowTitleWatched &&
                XGetWindowAttributes(watch.display, event.xmap.window, &attributes) != 0)
                window = attributes;
        } else if (event.type == watch.damageEventBase + XDamageNotify) {
            const auto& damage = reinterpret_cast<const XDamageNotifyEvent&>(event);
            if (window && coversWindow(damage.area, *window))
                painted = std::chrono::duration<double, std::milli>(received - start).count();
        }
    }
    if (!exited)
        stopProgram(*pid);
    std::this_thread::sleep_for(pauseBetweenRuns);
    return painted;
}

std::string baseName(const char* path) {
    const std::string text = path;
    return text.substr(text.find_last_of('/') + 1);
}

// Rounds are paired, so the per-round ratio and difference cancel what slows both alike.
void printFigures(const Run& first, const Run& second) {
    std::printf("start to first painted window, %d runs each, interleaved\n", measuredRuns);
    printFigure(first.name.c_str(), first.milliseconds, "ms");
    printFigure(second.name.c_str(), second.milliseconds, "ms");
    std::vector<double> ratios;
    std::vector<double> differences;
    for (std::size_t i = 0; i < first.milliseconds.size(); ++i) {
        ratios.push_back(second.milliseconds[i] / first.milliseconds[i]);
        differences.push_back(second.milliseconds[i] - first.milliseconds[i]);
    }
    printFigure((second.name + " / " + first.name).c_str(), ratios, "x", 2);
    printFigure((second.name + " - " + first.name).c_str(), differences, "ms");
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FIRST_PROGRAM SECOND_PROGRAM\n", argv[0]);
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

    std::vector<Run> runs = {{baseName(argv[1]), argv[1], {}}, {baseName(argv[2]), argv[2], {}}};
    // The first start of each fills the file cache; virelo's also writes its settings, so the
    // measured starts are second starts, as a learner's usually are.
    for (int round = -1; round < measuredRuns; ++round) {
        for (Run& run : runs) {
            const std::optional<double> ms = measure(watch, run.program);
            if (!ms) {
                std::fprintf(
                    stderr, "%s: exited or painted no window titled \"%s\" within %lld s\n",
                    run.program, windowTitleWatched, static_cast<long long>(paintTimeout.count()));
                return 1;
            }
            if (round >= 0)
                run.milliseconds.push_back(*ms);
        }
    }
    printFigures(runs[0], runs[1]);
    XCloseDisplay(display);
    return 0;
}
