#pragma once

#include "training/Clef.h"
#include "training/ExerciseSize.h"

#include <array>
#include <string_view>
#include <vector>

// Which MIDI note each note file sounds, lowest first: the clefs of the clef table with files
// of their own, in its order. The files are named after the staff position, so the generator and
// the sound check read the same pitches.
struct ClefPitches {
    Clef clef;
    std::string_view folder;
    std::array<int, NoteCount> midiNotes;
};

std::vector<ClefPitches> clefPitches();
