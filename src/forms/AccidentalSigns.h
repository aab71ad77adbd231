#pragma once

#include <QPainterPath>

#include <array>

// The signs ♯, ♭ and ♮ of the music font, scaled to a staff so that a sharp spans three of its
// spaces. Each is placed by its measured outline: the sharp and the natural centred on their
// step, the flat with its bulb there.
class AccidentalSigns {
public:
    explicit AccidentalSigns(double staffSpace);

    // No font had the signs: nothing can be drawn.
    bool isEmpty() const;
    // The width of the sign of an alteration (-1 flat, 0 natural, +1 sharp).
    double width(int alteration) const;
    double widest() const;
    // The sign with its left edge at `left`, standing on the step whose middle is at `stepY`.
    QPainterPath placed(int alteration, double left, double stepY) const;

private:
    struct Sign {
        QPainterPath outline; // scaled, left edge at 0, the step's middle at 0
        double width = 0;
    };
    const Sign& sign(int alteration) const;

    std::array<Sign, 3> m_signs; // flat, natural, sharp
};
