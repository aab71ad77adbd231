#pragma once

class QWidget;

// Places our windows by their frames, the part a learner sees, not by their inner areas. Before
// the window manager has framed a window, its frame is taken to be like that of a framed window
// of ours; once its own frame is known, the window is placed again by it, once.

// Centres the window on the available area of its owner's screen (of the primary screen
// without an owner).
void centreOnScreen(QWidget& window, const QWidget* owner = nullptr);
// Centres the window on the owner's frame.
void centreOnWindow(QWidget& window, const QWidget& owner);
// Puts the window's lower left corner at the anchor's lower left corner.
void placeAtLowerLeft(QWidget& window, const QWidget& anchor);
// Asks the window manager to keep the window above the owner, as it keeps a dialog above its
// window, without the owner owning it.
void keepAbove(QWidget& window, const QWidget& owner);
