#pragma once

#include "training/Clef.h"
#include "training/ExerciseSize.h"
#include "training/SpelledNote.h"

#include <QString>

#include <optional>

// The natural note of index 0..14 in the given clef; none for no clef or a bad index.
std::optional<SpelledNote> clefNote(Clef clef, int index);

// The name of note index 0..14 in the given clef, in the learner's naming style; empty for no
// clef or a bad index.
QString noteName(Clef clef, int index);

// Staff position counted in steps (line, space, line, ...) upwards from the third ledger line
// below the staff; -1 for no clef or a bad index. The bass clef's notes stand five steps above
// the treble clef's, the alto and tenor clefs' three.
int staffStep(Clef clef, int index);

// The index 0..14 of a natural note among the clef's notes; none for a note outside them.
std::optional<int> clefIndexOf(Clef clef, const SpelledNote& note);
