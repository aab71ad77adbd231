#include "help/ClefGlyph.h"

#include "training/ClefTable.h"

#include <algorithm>
#include <array>

namespace {

// Each sign by its glyph: how far it reaches above and below the line it marks, and its left.
struct SignShape {
    char32_t glyph;
    double above, below, left;
};
constexpr std::array<SignShape, 3> SignShapes = {{
    {U'\U0001D11E', 4.55, 2.95, 0.5},
    {U'\U0001D122', 1.05, 2.4, 0.6},
    {U'\U0001D121', 2.0, 2.0, 0.6},
}};
constexpr int StaffLines = 5;

} // namespace

QPainterPath clefOutline(Clef clef, const QStringList& families) {
    const ClefRow* row = clefRow(clef);
    return row ? musicSignOutline(row->glyph, families) : QPainterPath();
}

ClefSignReach clefSignReach(const ClefRow& row) {
    // A sign not measured is taken to span the staff as a C clef does.
    const auto found = std::find_if(SignShapes.begin(), SignShapes.end(),
                                    [&row](const SignShape& s) { return s.glyph == row.glyph; });
    const SignShape& shape = found == SignShapes.end() ? SignShapes.back() : *found;
    const double line = StaffLines - row.glyphLine;
    return {line - shape.above, line + shape.below, shape.left};
}
