#include "training/StaffPlacement.h"

namespace {

constexpr int LowestRung = LadderSize - 1;
constexpr int HighestStep = 2 * LowestRung - 1;
constexpr int LastRungAbove = 2;  // rungs 0..2 are ledger lines above the staff
constexpr int FirstRungBelow = 8; // rungs 8..10 are ledger lines below the staff

// Step of the note that sits on a rung.
int stepOfRung(int rung) {
    return 2 * (LowestRung - rung);
}

} // namespace

std::optional<Placement> placeOnLadder(const LineLadder& ladder, int step) {
    if (step < 0 || step > HighestStep)
        return std::nullopt;

    Placement placement;
    if (step % 2 == 0) {
        const int rung = LowestRung - step / 2;
        placement.top = (ladder[rung - 1] + ladder[rung]) / 2;
    } else {
        const int rungAbove = LowestRung - (step + 1) / 2;
        placement.top = ladder[rungAbove];
    }
    for (int rung = 0; rung <= LastRungAbove; ++rung) {
        if (stepOfRung(rung) <= step)
            placement.ledgerRungs.push_back(rung);
    }
    for (int rung = FirstRungBelow; rung <= LowestRung; ++rung) {
        if (stepOfRung(rung) >= step)
            placement.ledgerRungs.push_back(rung);
    }
    return placement;
}
