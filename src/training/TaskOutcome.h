#pragma once

#include "training/KeySignature.h"
#include "training/SpelledNote.h"

#include <optional>

// Where an answer came from.
enum class AnswerInput { Buttons, ScreenKeyboard, Midi, Microphone };

// How one task ended: answered right, answered wrong, or timed out (no chosen note, no input).
// The indices are the natural notes' 0..14 of the clef (the staff places); the spelled notes
// say what was written and what was answered, their pitches what sounded.
struct TaskOutcome {
    int task = 0; // 1..25 within its exercise: a phrase's number, its notes sharing it
    int askedIndex = 0;
    std::optional<int> chosenIndex;
    bool right = false;
    long long answerMs = 0; // from the task opening to its end
    std::optional<AnswerInput> input;
    KeySignature key;
    SpelledNote askedNote;
    std::optional<SpelledNote> chosenNote;
    // Buttons judge the spelling, except in ear training; a key or a sound has none and is
    // judged by its pitch; a task that timed out was not judged at all.
    bool spellingJudged = true;
    // The note's place in its task's phrase, from 0; a single note is a phrase of one.
    int place = 0;
};
