#pragma once

// The wrong-answer display's marks read from a rendered window by their shape, as a learner who
// cannot tell red from green reads them.

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>

#include <cmath>
#include <initializer_list>

enum class SeenMark { None, Cross, Ring };

// Ink within a pixel of `point`: strokes are smoothed at their edges.
inline bool inkNear(const QImage& shot, QPointF point) {
    const QPoint centre = point.toPoint();
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const QPoint p = centre + QPoint(dx, dy);
            if (shot.valid(p) && QColor(shot.pixel(p)).lightness() < 60)
                return true;
        }
    return false;
}

// A head's mark, by a head of `diameter` pixels around `middle`: a cross leaves ink on its
// diagonals inside the head and none straight above and below it; a ring the reverse. The staff's
// and ledger lines run level, clear of both places.
inline SeenMark markOnHead(const QImage& shot, QPointF middle, double diameter) {
    const double inside = 0.38 * diameter / std::sqrt(2.0);
    const double ring = 0.62 * diameter;
    bool diagonals = true;
    for (const QPointF direction : {QPointF(1, 1), QPointF(1, -1), QPointF(-1, 1), QPointF(-1, -1)})
        diagonals = diagonals && inkNear(shot, middle + direction * inside);
    const bool aboveAndBelow =
        inkNear(shot, middle + QPointF(0, ring)) && inkNear(shot, middle - QPointF(0, ring));
    if (diagonals && !aboveAndBelow)
        return SeenMark::Cross;
    if (aboveAndBelow && !diagonals)
        return SeenMark::Ring;
    return SeenMark::None;
}

// A mark in a plain box of ink: a cross meets in the middle of its bounds, a ring leaves the
// middle clear.
inline SeenMark markInBounds(const QImage& shot, const QRect& inked) {
    if (inked.isEmpty())
        return SeenMark::None;
    return inkNear(shot, QRectF(inked).center()) ? SeenMark::Cross : SeenMark::Ring;
}
