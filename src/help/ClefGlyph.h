#pragma once

#include "training/Clef.h"
#include "widgets/MusicFont.h"

struct ClefRow;

#include <QPainterPath>
#include <QStringList>

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
