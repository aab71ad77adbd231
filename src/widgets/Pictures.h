#pragma once

#include <QCursor>
#include <QIcon>

// The program's own pictures, drawn as SVG and compiled into the program.

// Five-line staff with notes: the main window, the settings dialog and the desktop entry.
QIcon staffIcon();
// White "i" on a dark-blue disc: the help window.
QIcon informationIcon();
// A space shuttle seen from above: the keyboard window.
QIcon shuttleIcon();
// A pointing hand with its hot spot on the tip of the index finger: the home-page link.
QCursor handCursor();
