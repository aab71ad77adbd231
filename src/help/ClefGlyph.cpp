#include "help/ClefGlyph.h"

#include "training/ClefTable.h"

QPainterPath clefOutline(Clef clef, const QStringList& families) {
    const ClefRow* row = clefRow(clef);
    return row ? musicSignOutline(row->glyph, families) : QPainterPath();
}
