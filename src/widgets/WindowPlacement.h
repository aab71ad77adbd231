#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

// Places our windows by their frames, the part a learner sees, not by their inner areas. Before
// the window manager has framed a window, its frame is taken to be like that of a framed window
// of ours; once its own frame is known, the window is placed again by it, once.

// The window's frame, or before it has one the frame a framed window of ours has.
QMargins likelyFrameMargins(const QWidget& window);
// Centres the window on the available area of its owner's screen (of the primary screen
// without an owner).
void centreOnScreen(QWidget& window, const QWidget* owner = nullptr);
// Centres the window on the owner's frame, as far as the owner's screen allows.
void centreOnWindow(QWidget& window, const QWidget& owner);
// Puts the window beside the owner, where it hides none of it: see frameBeside. The window may
// come out narrower or lower than it is, down to `least` (its inner size).
void placeBeside(QWidget& window, const QWidget& owner, QSize least);
// The frame for a window of `wanted` size beside the `owner` frame inside `area`: on the right,
// else on the left, else below, made narrower (lower, below) as far as `least` to fit; where no
// side has room for `least`, the place inside `area` that hides least of the owner.
QRect frameBeside(const QRect& area, const QRect& owner, QSize wanted, QSize least);
// Puts the window's lower left corner at the anchor's lower left corner.
void placeAtLowerLeft(QWidget& window, const QWidget& anchor);
// Asks the window manager to keep the window above the owner, as it keeps a dialog above its
// window, without the owner owning it.
void keepAbove(QWidget& window, const QWidget& owner);
