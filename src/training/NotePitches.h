#pragma once

#include "training/ExerciseSize.h"

#include <array>
#include <string_view>

// Which MIDI note each staff position sounds, lowest first. The sound files are named
// after the position, so the generator and the sound check read the same table.
struct ClefPitches {
    std::string_view folder;
    std::array<int, NoteCount> midiNotes;
};

inline constexpr std::array<ClefPitches, 2> clefPitches{{
    {"violin", {53, 55, 57, 59, 60, 62, 64, 65, 67, 69, 71, 72, 74, 76, 77}}, // F3..F5
    {"bass", {41, 43, 45, 47, 48, 50, 52, 53, 55, 57, 59, 60, 62, 64, 65}},   // F2..F4
}};
