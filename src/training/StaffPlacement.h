#pragma once

#include <array>
#include <optional>
#include <vector>

// The lines a note head is placed against, from top to bottom: three ledger lines above the
// staff, the five staff lines, three ledger lines below. Only their heights matter; they are
// read from the layout and need not be evenly spaced.
constexpr int LadderSize = 11;
using LineLadder = std::array<double, LadderSize>;

struct Placement {
    double top = 0;               // upper edge of the head, in twips
    std::vector<int> ledgerRungs; // ladder rungs (0..2 above, 8..10 below) to show
};

// Where a note on the given staff step (0 = on the lowest rung, 19 = just below the top rung)
// stands: a note on a line is centred between that line and the one above, a note in a space
// hangs from the line above it. Empty for a step outside 0..19.
std::optional<Placement> placeOnLadder(const LineLadder& ladder, int step);
