#pragma once

#include "training/Clef.h"

struct ClefRow;

#include <QPainterPath>
#include <QString>
#include <QStringList>

// Music fonts from Debian that hold the clef signs of the Unicode musical symbols block.
inline const QStringList MusicFontFamilies = {QStringLiteral("Euterpe"),
                                              QStringLiteral("Noto Music")};

// Outline of a music sign from the first of the given fonts that is installed and has it, in
// that font's own units. Empty when none has it, so that no box for a missing sign is drawn.
QPainterPath musicSignOutline(char32_t sign, const QStringList& families = MusicFontFamilies);

// The clef's sign, as musicSignOutline gives it; empty for no clef.
QPainterPath clefOutline(Clef clef, const QStringList& families = MusicFontFamilies);

// How far a clef's sign reaches on its staff, in staff spaces below the top line (above it when
// negative), and where it begins after the staff's start, measured on the fonts' outlines: the
// treble clef's curl rounds the second line from the bottom, the bass clef's dots sit around the
// second line from the top, a C clef's sign spans the staff's height, centred on the line it marks.
struct ClefSignReach {
    double top, bottom, left;
};
ClefSignReach clefSignReach(const ClefRow& row);
