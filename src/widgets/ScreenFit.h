#pragma once

class QWidget;

// A window laid out at a fixed size that the screen cannot hold (a large scale factor, a small
// screen) gets its controls inside a scroll area and only as much room as the screen's available
// area leaves beside its frame. A window that fits stays exactly as it is. Call it once the
// window's controls are made; the owner's screen counts where there is an owner.
void scrollWhereScreenIsSmaller(QWidget& window, const QWidget* owner);
