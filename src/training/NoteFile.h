#pragma once

#include "training/Clef.h"

#include <QString>

// The sound file of a note index in a clef, below the program folder: the file of that pitch in
// the clef's own folder, else in another; empty for no clef or a bad index.
QString noteFile(const QString& programDir, Clef clef, int note);
