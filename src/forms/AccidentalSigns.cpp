#include "forms/AccidentalSigns.h"

#include "widgets/MusicFont.h"

#include <QTransform>

#include <algorithm>

namespace {

constexpr char32_t Flat = U'\u266D', Natural = U'\u266E', Sharp = U'\u266F';
constexpr double SharpSpaces = 3;
// Where a flat's bulb is measured across: well right of its stem.
constexpr double BulbAcross = 0.75;

// The height at which the outline meets the step: the middle of its box, or for the flat the
// middle of its bulb, where a vertical through the bulb enters and leaves the sign.
double stepHeight(const QPainterPath& outline, bool flat) {
    const QRectF box = outline.boundingRect();
    if (!flat)
        return box.center().y();
    const double x = box.left() + BulbAcross * box.width();
    QPainterPath across;
    across.addRect(QRectF(x, box.top(), box.width() / 100, box.height()));
    const QRectF bulb = outline.intersected(across).boundingRect();
    return bulb.isEmpty() ? box.bottom() : bulb.center().y();
}

} // namespace

AccidentalSigns::AccidentalSigns(double staffSpace) {
    const QPainterPath sharp = musicSignOutline(Sharp);
    if (sharp.isEmpty())
        return;
    const double scale = SharpSpaces * staffSpace / sharp.boundingRect().height();
    const std::array<char32_t, 3> glyphs = {Flat, Natural, Sharp};
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        const QPainterPath outline = musicSignOutline(glyphs[i]);
        if (outline.isEmpty())
            continue;
        const double middle = stepHeight(outline, glyphs[i] == Flat);
        QTransform transform;
        transform.scale(scale, scale);
        transform.translate(-outline.boundingRect().left(), -middle);
        m_signs[i] = {transform.map(outline), outline.boundingRect().width() * scale};
    }
}

bool AccidentalSigns::isEmpty() const {
    return std::any_of(m_signs.begin(), m_signs.end(),
                       [](const Sign& sign) { return sign.outline.isEmpty(); });
}

double AccidentalSigns::width(int alteration) const {
    return sign(alteration).width;
}

double AccidentalSigns::widest() const {
    return std::max({m_signs[0].width, m_signs[1].width, m_signs[2].width});
}

QPainterPath AccidentalSigns::placed(int alteration, double left, double stepY) const {
    return sign(alteration).outline.translated(left, stepY);
}

const AccidentalSigns::Sign& AccidentalSigns::sign(int alteration) const {
    return m_signs.at(std::size_t(std::clamp(alteration, -1, 1) + 1));
}
