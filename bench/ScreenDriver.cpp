#include "ScreenDriver.h"

#include "WindowTitle.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>

#include <poll.h>

#include <cstdlib>
#include <memory>
#include <thread>

namespace {

using namespace std::chrono_literals;
using Clock = ScreenDriver::Clock;

// Rounding of the logical size may cost a pixel or two.
constexpr int sizeTolerance = 4;
// Lets the toolkit see the pointer arrive before the button goes down, as with a real mouse.
constexpr auto pointerSettle = 30ms;
constexpr unsigned long white = 0xffffff;

struct ImageDeleter {
    void operator()(XImage* image) const { XDestroyImage(image); }
};

int ignoreXError(Display*, XErrorEvent*) {
    return 0;
}

// The next event before the deadline, or nothing.
std::optional<XEvent> nextEvent(Display* display, Clock::time_point deadline) {
    while (XPending(display) == 0) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left <= 0ms)
            return std::nullopt;
        pollfd readable{ConnectionNumber(display), POLLIN, 0};
        poll(&readable, 1, int(left.count()));
    }
    XEvent event;
    XNextEvent(display, &event);
    return event;
}

} // namespace

ScreenDriver::ScreenDriver() : display_(XOpenDisplay(nullptr)) {
    if (!display_)
        return;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    int eventBase = 0;
    if (!XDamageQueryExtension(display_, &damageEventBase_, &errorBase) ||
        !XTestQueryExtension(display_, &eventBase, &errorBase, &major, &minor))
        return;
    // A window destroyed before its attributes are read is no error worth stopping for.
    XSetErrorHandler(ignoreXError);
    const Window root = DefaultRootWindow(display_);
    XSelectInput(display_, root, SubstructureNotifyMask);
    XDamageCreate(display_, root, XDamageReportRawRectangles);
    ready_ = true;
}

ScreenDriver::~ScreenDriver() {
    if (display_)
        XCloseDisplay(display_);
}

void ScreenDriver::discardEvents() {
    XSync(display_, False);
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
    }
}

std::optional<ScreenDriver::Window> ScreenDriver::waitForWindow(Clock::duration limit,
                                                                const std::string& wanted) {
    const auto deadline = Clock::now() + limit;
    while (const std::optional<XEvent> event = nextEvent(display_, deadline)) {
        if (event->type == MapNotify && !event->xmap.override_redirect &&
            windowTitle(display_, event->xmap.window) == wanted)
            return event->xmap.window;
    }
    return std::nullopt;
}

// Qt gives its windows no background, so a paint that covers the window is the toolkit putting
// a whole new frame on screen rather than the server clearing it.
bool ScreenDriver::waitForFullPaint(Window window, Clock::duration limit) {
    XWindowAttributes w;
    if (XGetWindowAttributes(display_, window, &w) == 0)
        return false;
    const auto deadline = Clock::now() + limit;
    while (const std::optional<XEvent> event = nextEvent(display_, deadline)) {
        if (event->type != damageEventBase_ + XDamageNotify)
            continue;
        const XRectangle& area = reinterpret_cast<const XDamageNotifyEvent&>(*event).area;
        if (area.x <= w.x + sizeTolerance && area.y <= w.y + sizeTolerance &&
            area.x + area.width >= w.x + w.width - sizeTolerance &&
            area.y + area.height >= w.y + w.height - sizeTolerance)
            return true;
    }
    return false;
}

void ScreenDriver::click(Window window, int x, int y) {
    XWindowAttributes w;
    if (XGetWindowAttributes(display_, window, &w) == 0)
        return;
    XTestFakeMotionEvent(display_, DefaultScreen(display_), w.x + x, w.y + y, CurrentTime);
    XFlush(display_);
    std::this_thread::sleep_for(pointerSettle);
    XTestFakeButtonEvent(display_, Button1, True, CurrentTime);
    XTestFakeButtonEvent(display_, Button1, False, CurrentTime);
    XFlush(display_);
}

void ScreenDriver::pressKey(Window window, unsigned long keySymbol) {
    XSetInputFocus(display_, window, RevertToParent, CurrentTime);
    const KeyCode key = XKeysymToKeycode(display_, keySymbol);
    XTestFakeKeyEvent(display_, key, True, CurrentTime);
    XTestFakeKeyEvent(display_, key, False, CurrentTime);
    XFlush(display_);
}

std::vector<int> ScreenDriver::whiteRows(Window window, int x, int top, int bottom) {
    std::vector<int> rows;
    const std::unique_ptr<XImage, ImageDeleter> image(
        XGetImage(display_, window, x, top, 1, unsigned(bottom - top + 1), AllPlanes, ZPixmap));
    if (!image)
        return rows;
    for (int row = 0; row <= bottom - top; ++row) {
        if ((XGetPixel(image.get(), 0, row) & white) == white)
            rows.push_back(top + row);
    }
    return rows;
}
