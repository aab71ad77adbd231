#pragma once

#include "training/Clef.h"

#include <optional>
#include <span>

// What a MIDI message means to an exercise.

// The key of a note-on with a velocity above 0, on any channel; nothing for every other message
// (a note-on with velocity 0 is how many keyboards release a key).
std::optional<int> pressedPitch(std::span<const unsigned char> message);

// The note index 0..14 that sounds `pitch` in the clef; nothing for keys
// between or outside its 15 notes, or for no clef.
std::optional<int> noteIndexOfPitch(Clef clef, int pitch);

// Whether `pitch` may sound a note of the clef written with a sign: from a semitone below its
// lowest note to a semitone above its highest; false for no clef.
bool withinAlteredRange(Clef clef, int pitch);

// The MIDI note that note index `index` of the clef sounds; nothing for a bad index or no clef.
std::optional<int> pitchOfNoteIndex(Clef clef, int index);
