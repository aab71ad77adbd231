#pragma once

#include <QString>

// The sound file of a note index in a clef, below the program folder; empty for no clef.
QString noteFile(const QString& programDir, const QString& clef, int note);
