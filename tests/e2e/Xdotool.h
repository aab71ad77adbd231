#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include <optional>

// The learner's mouse and keyboard, and a look at which windows are open, through xdotool on
// the display named by DISPLAY. Windows are X window ids.
namespace xdotool {

struct ShownWindow {
    quint64 id = 0;
    QString title;
    QRect frame; // client area on the screen
};

// Every visible window with its title and place on the screen, in one call.
QList<ShownWindow> shownWindows();
// The visible windows whose title matches the extended regular expression.
QList<quint64> visibleWindows(const QString& titlePattern);
// Position on the screen and size of a window's client area.
std::optional<QRect> geometry(quint64 window);
// The window that has the keyboard focus, or 0.
quint64 focusedWindow();
// Moves the mouse to a point given in the window's own pixels and clicks the left button.
bool click(quint64 window, QPoint point);
// Presses keys such as "space" or "ctrl+a" on whatever has the focus.
bool key(const QString& keys);
bool type(const QString& text);
// Runs a chain of xdotool commands in one call, such as {"mousemove", "5", "5", "click", "1"}.
bool perform(const QStringList& commands);

} // namespace xdotool
