#pragma once

#include <QFont>

// The layouts name "MS Sans Serif", a Windows bitmap font. Liberation Sans has the metrics
// of Arial, close enough that every caption keeps its room.
QFont msSansSerif(double pointSize, bool bold = false);

// Style and default dialog font for the whole program, set once before the first window.
void applyApplicationLook();
