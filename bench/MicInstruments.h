#pragma once

// What the microphone benchmarks play and how they listen: the instruments with their clefs and
// ranges, the two SoundFonts they are rendered from, and the note listener fed as the microphone
// feeds it.
#include "training/Clef.h"
#include "training/NotePitches.h"

#include <QString>

#include <cstddef>
#include <utility>
#include <vector>

// Silence before the first note, as a learner's microphone hears before playing.
constexpr double leadSeconds = 0.3;

enum class Group { Strings, Winds, Voices };

// The clefs each reads and its range as it sounds, in MIDI notes.
struct Played {
    const char* name;
    int program;
    Group group;
    std::vector<Clef> clefs;
    int lowest;
    int highest;
    bool bowed = false;
};

const std::vector<Played>& instruments();
const Played& instrumentNamed(const char* name);

// Short names and files.
const std::vector<std::pair<const char*, QString>>& soundFonts();

// The value below which `share` (0..1) of `values` lie; 0 for none.
double percentile(std::vector<double> values, double share);

ClefPitches pitchesOf(Clef clef);

// The notes decided in `samples` and the end of the hop that decided each, in samples.
std::vector<std::pair<int, std::size_t>> decisions(const std::vector<float>& samples,
                                                   const std::vector<int>& candidates);
