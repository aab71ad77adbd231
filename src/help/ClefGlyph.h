#pragma once

#include "training/Clef.h"
#include "widgets/MusicFont.h"

#include <QPainterPath>
#include <QStringList>

// The clef's sign, as musicSignOutline gives it; empty for no clef.
QPainterPath clefOutline(Clef clef, const QStringList& families = MusicFontFamilies);
