#pragma once

#include "training/Clef.h"

#include <optional>
#include <vector>

// What a note heard through the microphone means to an exercise.

// The MIDI notes worth listening for: the clef's 15 notes, or with `anyOctave` every natural
// note a voice or a string instrument may give, from C2 to C6.
std::vector<int> listenedPitches(Clef clef, bool anyOctave);

// The note index 0..14 a heard `pitch` answers with while `asked` is asked. With `anyOctave` a
// natural note counts as the clef's note of its letter nearest the asked one, so the asked
// letter is right in every octave; without, only the clef's own notes answer.
std::optional<int> heardAnswer(Clef clef, int pitch, int asked, bool anyOctave);

// With altered notes: every semitone of the clef's range, a semitone beyond its ends included,
// or with `anyOctave` every semitone from C2 to C6.
std::vector<int> listenedSemitones(Clef clef, bool anyOctave);

// With altered notes: the MIDI note a heard `pitch` answers with while `askedPitch` is asked.
// With `anyOctave` it is moved by octaves to the one nearest the asked pitch, so the asked pitch
// is right in every octave; without, only pitches of the clef's range answer.
std::optional<int> heardPitchAnswer(Clef clef, int pitch, int askedPitch, bool anyOctave);
