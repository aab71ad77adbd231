#pragma once

#include "training/ExerciseSize.h"

#include <QString>

// A clef is named by a text, compared exactly; any other text (also empty) means "no clef".
inline const QString ClefViolin = QStringLiteral("Violin");
inline const QString ClefBass = QStringLiteral("Bass");

// German Helmholtz name of note index 0..14 in the given clef; empty for no clef or a bad index.
QString noteName(const QString& clef, int index);

// Staff position counted in steps (line, space, line, ...) upwards from the third ledger line
// below the staff; -1 for no clef or a bad index. The bass clef sits five steps above the treble.
int staffStep(const QString& clef, int index);
