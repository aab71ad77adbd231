#include "ScreenReading.h"

#include "WindowLayout.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cmath>

namespace {

// The heads are filled white, green or red; the background is blue and the lines black.
bool isFilling(QRgb pixel) {
    return qRed(pixel) > 128 || qGreen(pixel) > 128;
}

constexpr double headTolerance = 50; // twips; neighbouring notes stand 154 twips apart or more

} // namespace

QImage grabWindow(quint64 window) {
    return QGuiApplication::primaryScreen()
        ->grabWindow(WId(window))
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

QImage grabScreen(const QRect& area) {
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

Head headInColumn(const QImage& window, int columnX) {
    if (!window.valid(columnX, layout::headBandBottom))
        return {Head::State::Unclear, 0};
    int first = -1;
    int last = -1;
    for (int y = layout::headBandTop; y <= layout::headBandBottom; ++y) {
        if (isFilling(window.pixel(columnX, y))) {
            if (first < 0)
                first = y;
            last = y;
        }
    }
    if (first < 0)
        return {Head::State::Hidden, 0};
    // The filling lies inside the outline; a ledger line may cross it.
    const double diameter = layout::headDiameter / 15.0;
    const int height = last - first + 1;
    if (height < diameter - 8 || height > diameter)
        return {Head::State::Unclear, 0};
    const double middle = (first + last + 1) / 2.0 * 15.0;
    return {Head::State::Shown, middle - layout::headDiameter / 2};
}

std::optional<int> noteAtHeadTop(const QString& clef, double top) {
    const auto& tops = clef == QStringLiteral("Bass")     ? layout::bassHeadTops
                       : clef == QStringLiteral("Violin") ? layout::trebleHeadTops
                                                          : layout::cClefHeadTops;
    for (int index = 0; index < int(tops.size()); ++index) {
        if (std::abs(tops[std::size_t(index)] - top) < headTolerance)
            return index;
    }
    return std::nullopt;
}

Tint tintAt(const QImage& image, QPoint point) {
    if (!image.valid(point))
        return Tint::Other;
    const QRgb pixel = image.pixel(point);
    const int red = qRed(pixel);
    const int green = qGreen(pixel);
    const int blue = qBlue(pixel);
    if (red > 200 && green > 200 && blue > 200)
        return Tint::White;
    if (red > green + 60 && red > blue + 60)
        return Tint::Red;
    if (green > red + 60 && green > blue + 60)
        return Tint::Green;
    return Tint::Other;
}

QColor darkestIn(const QImage& image, const QRect& area) {
    QColor darkest = Qt::white;
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.lightness() < darkest.lightness())
                darkest = pixel;
        }
    return darkest;
}
