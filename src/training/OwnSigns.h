#pragma once

#include "training/KeySignature.h"

#include <vector>

// The share of tasks whose note carries a sign of its own, when the learner asks for them.
constexpr double OwnSignShare = 1.0 / 3.0;

// The alterations a sign of the task's own may give a step the key alters by `fromKey`: one of
// the chosen kinds that differs from it, or the natural that cancels it. Drawn alike.
std::vector<int> ownSigns(int fromKey, OwnAccidentals kinds);
