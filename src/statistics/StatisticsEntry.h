#pragma once

class QString;
class QWidget;

// What the statistics library offers the program: one function that makes its window, reading
// the record in the given file. The window lives until the caller deletes it. The function passes
// Qt's and our types, so its name carries the version of this interface: a library built for
// another version has no function of this name. Count it up whenever the function changes.
using CreateStatisticsWindow = QWidget* (*)(const QString& historyFile);
inline constexpr char CreateStatisticsWindowSymbol[] = "virelo_create_statistics_window_2";
// Its base name: QLibrary adds the platform's prefix and suffix.
inline constexpr char StatisticsLibraryName[] = "virelo_statistik";
