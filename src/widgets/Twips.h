#pragma once

#include <QColor>
#include <QRect>
#include <QtGlobal>
#include <QtMath>

#include <cstdint>

// Layouts are given in twips; one logical pixel is 15 twips (96 dpi).
constexpr double TwipsPerPixel = 15.0;

inline int twipsToPixels(double twips) {
    return qRound(twips / TwipsPerPixel);
}

inline QRect twipsRect(double left, double top, double width, double height) {
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

// Client sizes are rounded up so that nothing laid out at the edge is cut.
inline QSize twipsClientSize(double width, double height) {
    return {qCeil(width / TwipsPerPixel), qCeil(height / TwipsPerPixel)};
}

inline QColor fromVbColor(std::uint32_t bgr) {
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}
