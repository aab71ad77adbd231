#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

struct _XDisplay;

// Works a program's windows on a private X server the way a learner would: waits for windows to
// be mapped and painted, clicks and types through XTEST, and reads pixels back. Without a window
// manager, window positions are screen positions.
class ScreenDriver {
public:
    using Clock = std::chrono::steady_clock;
    // An X window id; Xlib's own names are kept out of code that also includes Qt.
    using Window = unsigned long;

    ScreenDriver();
    ~ScreenDriver();

    ScreenDriver(const ScreenDriver&) = delete;
    ScreenDriver& operator=(const ScreenDriver&) = delete;

    // False without a display or without the DAMAGE or XTEST extension.
    bool isReady() const { return ready_; }

    // Forgets what happened so far, so the waits below see only what follows.
    void discardEvents();
    // The next top-level window mapped with the given title (UTF-8): the title stays when a
    // layout grows, where a size would not.
    std::optional<Window> waitForWindow(Clock::duration limit, const std::string& title);
    // Waits for one paint that covers the whole window.
    bool waitForFullPaint(Window window, Clock::duration limit);

    void click(Window window, int x, int y);
    // Gives the window the keyboard focus, as a window manager would, and types the key.
    void pressKey(Window window, unsigned long keySymbol);
    // The rows from `top` to `bottom` in which column `x` of the window is pure white.
    std::vector<int> whiteRows(Window window, int x, int top, int bottom);

private:
    _XDisplay* display_ = nullptr;
    int damageEventBase_ = 0;
    bool ready_ = false;
};
