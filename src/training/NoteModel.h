#pragma once

#include "training/Clef.h"
#include "training/ExerciseSize.h"

#include <QString>

// German Helmholtz name of note index 0..14 in the given clef; empty for no clef or a bad index.
QString noteName(Clef clef, int index);

// Staff position counted in steps (line, space, line, ...) upwards from the third ledger line
// below the staff; -1 for no clef or a bad index. The bass clef sits five steps above the treble.
int staffStep(Clef clef, int index);
