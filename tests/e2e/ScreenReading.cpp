#include "ScreenReading.h"

#include "WindowLayout.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace {

// The heads are filled white, green or red; the background is blue and the lines black.
bool isFilling(QRgb pixel) {
    return qRed(pixel) > 128 || qGreen(pixel) > 128;
}

bool isBackground(QRgb pixel) {
    return qBlue(pixel) > 150 && qRed(pixel) < 80 && qGreen(pixel) < 80;
}

bool isWhite(QRgb pixel) {
    return qRed(pixel) > 200 && qGreen(pixel) > 200 && qBlue(pixel) > 200;
}

// Rows of the staff's lines, three pixels wide, and a pixel of their smoothing either side.
bool onStaffLine(int y) {
    return std::any_of(layout::staffLineYs.begin(), layout::staffLineYs.end(),
                       [y](double line) { return std::abs(y - line / 15.0) <= 2.5; });
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

QPoint headInside(int columnX, const Head& head) {
    return {columnX, int(std::lround((head.top + layout::headDiameter / 2 - 90) / 15))};
}

std::optional<int> markedPlace(const QImage& window, int notes) {
    for (int place = 0; place < notes; ++place)
        if (darkestIn(window, layout::phraseArrow(place)).lightness() < 60)
            return place;
    return std::nullopt;
}

std::optional<QList<int>> newPhrase(const QImage& window, const QString& clef, int notes) {
    if (markedPlace(window, notes) != 0)
        return std::nullopt;
    QList<int> read;
    for (int place = 0; place < notes; ++place) {
        const int column = layout::phraseColumnX(place);
        const Head head = headInColumn(window, column);
        const std::optional<int> note =
            head.state == Head::State::Shown ? noteAtHeadTop(clef, head.top) : std::nullopt;
        if (!note || tintAt(window, headInside(column, head)) != Tint::White)
            return std::nullopt;
        read.append(*note);
    }
    return read;
}

bool phraseNoteRight(const QImage& window, int place, int notes) {
    const int column = layout::phraseColumnX(place);
    const Head head = headInColumn(window, column);
    return head.state == Head::State::Shown &&
           tintAt(window, headInside(column, head)) == Tint::Green &&
           headInColumn(window, layout::phraseChosenColumnX(place)).state == Head::State::Hidden &&
           markedPlace(window, notes) == place + 1;
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

std::optional<int> headColumnAfter(const QImage& window, int fromX) {
    // The rows where the filling begins, followed right: the head ends where they do, though
    // a button may stand beside it higher up.
    QList<int> rows;
    for (int x = std::max(fromX, 0); x < window.width(); ++x) {
        if (rows.isEmpty()) {
            for (int y = layout::headBandTop; y <= layout::headBandBottom; ++y)
                if (window.valid(x, y) && isFilling(window.pixel(x, y)))
                    rows.append(y);
            fromX = x;
            continue;
        }
        if (std::any_of(rows.begin(), rows.end(),
                        [&](int y) { return isFilling(window.pixel(x, y)); }))
            continue;
        // A coloured sign before its head, or a button beside the staff, is passed over: a
        // head is round.
        const int middle = (fromX + x - 1) / 2;
        const double width = x - fromX, diameter = layout::headDiameter / 15.0;
        if (width >= diameter - 8 && width <= diameter &&
            headInColumn(window, middle).state == Head::State::Shown)
            return middle;
        rows.clear();
    }
    return std::nullopt;
}

QList<QRect> marksBetween(const QImage& window, int fromX, int toX) {
    // Neighbouring signs stand a few pixels apart; a sign's own columns may touch only a
    // line's rows for a pixel or two.
    constexpr int joinedGap = 2;
    QList<QRect> marks;
    int gap = joinedGap + 1;
    for (int x = std::max(fromX, 0); x <= std::min(toX, window.width() - 1); ++x) {
        QRect column;
        for (int y = layout::headBandTop; y <= layout::headBandBottom; ++y) {
            const QRgb pixel = window.pixel(x, y);
            if (!onStaffLine(y) && !isBackground(pixel) && !isWhite(pixel))
                column |= QRect(x, y, 1, 1);
        }
        if (column.isEmpty()) {
            ++gap;
            continue;
        }
        if (gap > joinedGap || marks.isEmpty())
            marks.append(column);
        else
            marks.last() |= column;
        gap = 0;
    }
    return marks;
}
