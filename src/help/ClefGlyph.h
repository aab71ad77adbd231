#pragma once

#include "training/Clef.h"

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
