#include "widgets/MusicFont.h"

#include <QFont>
#include <QRawFont>

#include <algorithm>
#include <array>

namespace {

constexpr int OutlinePixels = 100;

} // namespace

QPainterPath musicSignOutline(char32_t sign, const QStringList& families) {
    for (const QString& family : families) {
        QFont font(family);
        font.setPixelSize(OutlinePixels);
        // Without this, Qt would borrow the sign from any font, or draw a box.
        font.setStyleStrategy(QFont::NoFontMerging);
        const QRawFont raw = QRawFont::fromFont(font);
        if (raw.familyName() != family || !raw.supportsCharacter(uint(sign)))
            continue;
        QPainterPath outline;
        outline.addText(0, 0, font, QString::fromUcs4(&sign, 1));
        return outline;
    }
    return {};
}

bool hasAccidentalSigns(const QStringList& families) {
    constexpr std::array<char32_t, 3> Signs = {U'\u266D', U'\u266E', U'\u266F'};
    return std::all_of(Signs.begin(), Signs.end(),
                       [&](char32_t sign) { return !musicSignOutline(sign, families).isEmpty(); });
}
