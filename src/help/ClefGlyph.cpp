#include "help/ClefGlyph.h"

#include "training/ClefTable.h"

#include <QFont>
#include <QRawFont>

namespace {

constexpr int OutlinePixels = 100;

constexpr ClefSignReach TrebleClef = {-1.55, 5.95};
constexpr ClefSignReach BassClef = {-0.05, 3.4};
constexpr double CClefHalfHeight = 2.0;
constexpr int StaffLines = 5;

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

QPainterPath clefOutline(Clef clef, const QStringList& families) {
    const ClefRow* row = clefRow(clef);
    return row ? musicSignOutline(row->glyph, families) : QPainterPath();
}

ClefSignReach clefSignReach(const ClefRow& row) {
    if (row.clef == Clef::Violin)
        return TrebleClef;
    if (row.clef == Clef::Bass)
        return BassClef;
    const double line = StaffLines - row.glyphLine;
    return {line - CClefHalfHeight, line + CClefHalfHeight};
}
