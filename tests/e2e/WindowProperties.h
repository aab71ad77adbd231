#pragma once

#include <QList>
#include <QMargins>
#include <QRect>
#include <QString>
#include <QStringList>

#include <optional>

// What the X server holds about a window beyond its place, read with xprop on the display
// named by DISPLAY: the window manager's frame, its stacking and the window's own state.
namespace xprop {

// The values of a property of a window (0: the root window) as xprop prints them, such as
// {"_NET_WM_STATE_MODAL"} or {"1", "1", "22", "4"}; empty when it is not set.
QStringList values(quint64 window, const QString& property);

// How far the window manager's frame reaches beyond the client area; nullopt without one.
std::optional<QMargins> frameExtents(quint64 window);
// The window with its frame, as a learner sees it on the screen; the client area alone on a
// server without a window manager.
std::optional<QRect> frameOnScreen(quint64 window);
// The window asks to be treated as modal.
bool isModal(quint64 window);
// The window manager has minimised the window.
bool isMinimised(quint64 window);
// The managed windows from bottom to top, as the window manager stacks them.
QList<quint64> stackingOrder();

} // namespace xprop
