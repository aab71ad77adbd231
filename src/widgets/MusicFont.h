#pragma once

#include <QPainterPath>
#include <QStringList>

// Music fonts from Debian that hold the accidentals (U+266D-266F) and the clef signs of the
// Unicode musical symbols block; Euterpe is the program's dependency.
inline const QStringList MusicFontFamilies = {QStringLiteral("Euterpe"),
                                              QStringLiteral("Noto Music")};

// Outline of a music sign from the first of the given fonts that is installed and has it, in
// that font's own units. Empty when none has it, so that no box for a missing sign is drawn.
QPainterPath musicSignOutline(char32_t sign, const QStringList& families = MusicFontFamilies);

// Whether ♭, ♮ and ♯ can be drawn: without them every sign of a key would be invisible.
bool hasAccidentalSigns(const QStringList& families = MusicFontFamilies);
