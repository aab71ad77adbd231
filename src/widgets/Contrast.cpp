#include "widgets/Contrast.h"

#include "widgets/DrawnElements.h"

#include <algorithm>
#include <cmath>

namespace {

double linear(double channel) {
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

} // namespace

double relativeLuminance(const QColor& colour) {
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

double contrastRatio(const QColor& a, const QColor& b) {
    const double first = relativeLuminance(a), second = relativeLuminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

std::uint32_t answerColour(std::uint32_t colour, bool highContrast) {
    if (!highContrast)
        return colour;
    switch (colour) {
    case VbColor::Red:
        return HighContrastColor::Red;
    case VbColor::Green:
        return HighContrastColor::Green;
    default:
        return colour;
    }
}
