#include "help/NoteChartModel.h"

#include "help/ClefGlyph.h"

#include "training/ClefTable.h"
#include "training/NoteModel.h"
#include "training/StaffPlacement.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace {

// Distances in line spacings.
constexpr double TopMargin = 0.5;
constexpr double NameGap = 0.5;
constexpr double NameHeight = 1.7;
constexpr double BottomMargin = 0.2;
constexpr double StaffInset = 0.3;
constexpr double NotesLeft = 4.0; // room for the clef
constexpr double RightMargin = 0.4;
constexpr double HeadWidth = 1.35;
constexpr double LedgerOverhang = 0.45;
constexpr double StemLength = 3.5;
constexpr double StemInset = 0.1; // a stem stands just inside the head's edge
constexpr double NameFont = 1.3;
constexpr int FirstStaffRung = 3;
// Notes from the middle line up have their stems down, as engravers do.
constexpr int MiddleLineStep = 10;

struct Span {
    double top, bottom; // in rungs of the ladder
};

Span clefSpan(const ClefRow& row) {
    const ClefSignReach reach = clefSignReach(row);
    return {FirstStaffRung + reach.top, FirstStaffRung + reach.bottom};
}

double clefLeft(const ClefRow& row) {
    return clefSignReach(row).left;
}

struct Frame {
    double spacing;  // pixels per line spacing
    double rungZero; // y of the topmost rung
    double nameTop;
    double width;
};

double rungY(const Frame& frame, double rung) {
    return frame.rungZero + rung * frame.spacing;
}

NoteChartModel build(Clef clef, const Frame& frame) {
    const double s = frame.spacing;
    NoteChartModel chart;
    chart.lineSpacing = s;
    chart.nameFontPixels = NameFont * s;

    LineLadder ladder{};
    for (int rung = 0; rung < LadderSize; ++rung)
        ladder[rung] = rungY(frame, rung);
    for (int line = 0; line < 5; ++line) {
        const double y = ladder[FirstStaffRung + line];
        chart.staffLines[line] = QLineF(StaffInset * s, y, frame.width - StaffInset * s, y);
    }

    const ClefRow& row = *clefRow(clef);
    const Span span = clefSpan(row);
    chart.clefBox = QRectF(QPointF(clefLeft(row) * s, rungY(frame, span.top)),
                           QPointF(NotesLeft * s - StaffInset * s, rungY(frame, span.bottom)));

    const double slot = (frame.width - (NotesLeft + RightMargin) * s) / NoteCount;
    for (int index = 0; index < NoteCount; ++index) {
        const int step = staffStep(clef, index);
        const std::optional<Placement> placement = placeOnLadder(ladder, step);
        if (!placement)
            return {};
        const double centreX = NotesLeft * s + slot * (index + 0.5);
        ChartNote note;
        note.name = noteName(clef, index);
        note.head = QRectF(centreX - HeadWidth * s / 2, placement->top, HeadWidth * s, s);
        const double centreY = note.head.center().y();
        if (step >= MiddleLineStep) {
            const double x = note.head.left() + StemInset * s;
            note.stem = QLineF(x, centreY, x, centreY + StemLength * s);
        } else {
            const double x = note.head.right() - StemInset * s;
            note.stem = QLineF(x, centreY, x, centreY - StemLength * s);
        }
        for (int rung : placement->ledgerRungs) {
            const double y = ladder[rung];
            note.ledgerLines.emplace_back(note.head.left() - LedgerOverhang * s, y,
                                          note.head.right() + LedgerOverhang * s, y);
        }
        note.nameBox = QRectF(centreX - slot / 2, frame.nameTop, slot, NameHeight * s);
        chart.notes.push_back(note);
    }
    return chart;
}

// Top and bottom of everything on the staff, in line spacings from the topmost rung.
Span extent(Clef clef) {
    const NoteChartModel unit = build(clef, {1, 0, 0, 0});
    Span reach = {unit.clefBox.top(), unit.clefBox.bottom()};
    for (const ChartNote& note : unit.notes) {
        reach.top = std::min({reach.top, note.head.top(), note.stem.y1(), note.stem.y2()});
        reach.bottom = std::max({reach.bottom, note.head.bottom(), note.stem.y1(), note.stem.y2()});
    }
    return reach;
}

} // namespace

NoteChartModel noteChart(Clef clef, const QSizeF& size) {
    if (staffStep(clef, 0) < 0 || size.isEmpty())
        return {};
    const Span own = extent(clef);
    // Every clef's chart on the same scale for the same height.
    double band = 0;
    for (const ClefRow& row : clefTable()) {
        const Span reach = extent(row.clef);
        band = std::max(band, reach.bottom - reach.top);
    }
    const double spacings = TopMargin + band + NameGap + NameHeight + BottomMargin;
    // Whole pixels between the lines and lines on whole pixels keep thin lines sharp.
    const double exact = size.height() / spacings;
    const double spacing = exact >= 1 ? std::floor(exact) : exact;
    const double top = (size.height() - spacing * spacings) / 2;
    // Centred in the band, so that a clef that reaches less far keeps its room evenly.
    const double ownTop = TopMargin + (band - (own.bottom - own.top)) / 2;
    const Frame frame = {spacing, std::round(top + (ownTop - own.top) * spacing),
                         top + (TopMargin + band + NameGap) * spacing, size.width()};
    return build(clef, frame);
}
