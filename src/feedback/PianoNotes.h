#pragma once

#include "training/NotePitches.h"

#include <algorithm>

// The piano notes the program plays, which are all the piano samples it needs: the note files'
// keys, moved by up to a double sharp or flat, each struck with one velocity and heard for less
// than a second and a half.
struct PianoNotes {
    int lowestKey = 0;
    int highestKey = 0;
    int velocity = 0;
    double longestSeconds = 0;
};

// Every note file strikes its key with this velocity.
inline constexpr int noteVelocity = 100;
// A note file lasts 1.3 s, its release included.
inline constexpr double longestNoteSeconds = 1.5;
inline constexpr int largestAlteration = 2;

inline PianoNotes playedPianoNotes() {
    PianoNotes notes{127, 0, noteVelocity, longestNoteSeconds};
    for (const ClefPitches& clef : clefPitches())
        for (int key : clef.midiNotes) {
            notes.lowestKey = std::min(notes.lowestKey, key - largestAlteration);
            notes.highestKey = std::max(notes.highestKey, key + largestAlteration);
        }
    return notes;
}
