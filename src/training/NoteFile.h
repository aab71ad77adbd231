#pragma once

#include "training/Clef.h"

#include <QString>

// The sound file of a note index in a clef, below the program folder; empty for no clef.
QString noteFile(const QString& programDir, Clef clef, int note);
