#include "help/ClefGlyph.h"

#include "training/NoteModel.h"

#include <QFont>
#include <QRawFont>

namespace {

constexpr char32_t TrebleClefSign = 0x1D11E;
constexpr char32_t BassClefSign = 0x1D122;
constexpr int OutlinePixels = 100;

} // namespace

QPainterPath clefOutline(Clef clef, const QStringList& families) {
    char32_t sign = 0;
    if (clef == Clef::Violin)
        sign = TrebleClefSign;
    else if (clef == Clef::Bass)
        sign = BassClefSign;
    else
        return {};

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
