// Placing a head and its ledger lines in one of the two columns of the staff.
#include "forms/Form1.h"
#include "training/StaffPlacement.h"

namespace {

// Ledger-line members standing at the rungs 0..2 (above) and 8..10 (below) of each column.
constexpr std::array<int, 3> AskedAbove = {5, 4, 3};
constexpr std::array<int, 3> AskedBelow = {0, 1, 2};
constexpr std::array<int, 3> ChosenAbove = {11, 12, 13};
constexpr std::array<int, 3> ChosenBelow = {10, 9, 8};
constexpr int FirstRungBelow = 8;

} // namespace

// The heights of a column's ledger lines above, the staff's lines, and its ledger lines below.
LineLadder Form1::columnLadder(Column column) const {
    const auto& above = column == Column::Asked ? AskedAbove : ChosenAbove;
    const auto& below = column == Column::Asked ? AskedBelow : ChosenBelow;
    return {ZusatzLinie[above[0]].Y1,
            ZusatzLinie[above[1]].Y1,
            ZusatzLinie[above[2]].Y1,
            Line1.Y1,
            Line2.Y1,
            Line3.Y1,
            Line4.Y1,
            Line5.Y1,
            ZusatzLinie[below[0]].Y1,
            ZusatzLinie[below[1]].Y1,
            ZusatzLinie[below[2]].Y1};
}

void Form1::placeNote(DrawnShape& head, Column column, int step) {
    const auto& above = column == Column::Asked ? AskedAbove : ChosenAbove;
    const auto& below = column == Column::Asked ? AskedBelow : ChosenBelow;
    const auto ledgerMember = [&](int rung) {
        return rung < FirstRungBelow ? above[rung] : below[rung - FirstRungBelow];
    };

    const DrawnLine& reference = ZusatzLinie[above[0]];
    head.Left = reference.X1 + (reference.X2 - reference.X1) / 2 - shpNote.Width / 2;

    const std::optional<Placement> placement = placeOnLadder(columnLadder(column), step);
    if (!placement)
        return;
    head.Top = placement->top;
    for (int rung : placement->ledgerRungs)
        ZusatzLinie[ledgerMember(rung)].Visible = true;
}

void Form1::hideLedgerLines(int first, int last) {
    for (int i = first; i <= last; ++i)
        ZusatzLinie[i].Visible = false;
}
