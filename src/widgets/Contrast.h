#pragma once

#include <QColor>

#include <cstdint>

// The high-contrast setting's colours, 0x00BBGGRR as the layouts give them: the wrong-answer
// display's red and green darkened until each stands out at least 4.5:1 from the white
// around it, with white captions on the buttons they fill.
namespace HighContrastColor {
constexpr std::uint32_t Red = 0x0000C0;   // 192, 0, 0
constexpr std::uint32_t Green = 0x008000; // 0, 128, 0
} // namespace HighContrastColor

// The wrong-answer display's red or green as high contrast shows it; other colours unchanged.
std::uint32_t answerColour(std::uint32_t colour, bool highContrast);

// What legibility guidelines ask of text and marks against their background.
constexpr double ReadableContrast = 4.5;

// The relative luminance of an sRGB colour, 0 for black to 1 for white.
double relativeLuminance(const QColor& colour);
// From 1 (the same) to 21 (black on white), whichever of the two is lighter.
double contrastRatio(const QColor& a, const QColor& b);
