#pragma once

#include <cstdint>

// Colours as the layouts give them: 0x00BBGGRR, red in the low byte.
namespace VbColor {
constexpr std::uint32_t Red = 255;
constexpr std::uint32_t Green = 65280;
constexpr std::uint32_t Blue = 16711680;
constexpr std::uint32_t White = 16777215;
} // namespace VbColor

// A line of the staff drawn by its window, in twips.
struct DrawnLine {
    double X1 = 0;
    double Y1 = 0;
    double X2 = 0;
    double Y2 = 0;
    bool Visible = true;
};

// A note head drawn by its window, in twips.
struct DrawnShape {
    double Left = 0;
    double Top = 0;
    double Width = 0;
    double Height = 0;
    std::uint32_t BackColor = VbColor::White;
    bool Visible = false;
};
