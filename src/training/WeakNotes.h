#pragma once

#include "training/KeySignature.h"
#include "training/SpelledNote.h"

#include <span>
#include <vector>

// A spelled note's record over its most recent tasks in one clef and mode.
struct NoteRecord {
    int asked = 0;
    int missed = 0; // wrong or timed out
};

// How many of a note's most recent tasks its weight looks at.
constexpr int WeakNoteWindow = 200;

// 1 + 4 × the share of misses; a note asked fewer than 5 times counts as weak (3).
double weakNoteWeight(const NoteRecord& record);

// A spelled note a staff step is asked as, and the share of the step's tasks it takes.
struct NoteShare {
    SpelledNote note;
    double share = 1;
};

// The notes a staff step is written as in an exercise in `key`: as the key spells it, and, with
// signs of the task's own, each of those in its share of the tasks.
std::vector<NoteShare> spellingsOfStep(int step, KeySignature key, OwnAccidentals own);

// A staff place's weight: its spellings' weights by their shares of its tasks.
double placeWeight(std::span<const NoteShare> spellings, std::span<const NoteRecord> records);

// The position whose weight r (uniform in [0, 1)) falls on, the weights laid end to end.
int weightedDraw(std::span<const double> weights, double r);
