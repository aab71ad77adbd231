#pragma once

#include "training/NoteModel.h"

#include <array>
#include <span>

// A note's record over its most recent tasks in one clef and mode.
struct NoteRecord {
    int asked = 0;
    int missed = 0; // wrong or timed out
};
using NoteRecords = std::array<NoteRecord, NoteCount>;

// How many of a note's most recent tasks its weight looks at.
constexpr int WeakNoteWindow = 200;

// 1 + 4 × the share of misses; a note asked fewer than 5 times counts as weak (3).
double weakNoteWeight(const NoteRecord& record);

// The position whose weight r (uniform in [0, 1)) falls on, the weights laid end to end.
int weightedDraw(std::span<const double> weights, double r);
