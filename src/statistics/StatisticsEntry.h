#pragma once

#include "training/NoteNaming.h"

class QString;
class QWidget;

// What the statistics library offers the program: one function that makes its window, reading
// the record in the given file and naming notes in the program's style (the library has its own
// copy of the note model, which would otherwise name them in the default style). The window
// lives until the caller deletes it. The function passes Qt's and our types, so its name carries
// the version of this interface: a library built for another version has no function of this
// name. Count it up whenever the function changes.
using CreateStatisticsWindow = QWidget* (*)(const QString& historyFile, NamingStyle names);
inline constexpr char CreateStatisticsWindowSymbol[] = "virelo_create_statistics_window_3";
// Its base name: QLibrary adds the platform's prefix and suffix.
inline constexpr char StatisticsLibraryName[] = "virelo_statistik";
