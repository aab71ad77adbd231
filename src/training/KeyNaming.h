#pragma once

#include "training/KeySignature.h"
#include "training/NoteNaming.h"

#include <QString>

// "G-Dur / e-Moll (1 ♯)" in the learner's language, its tonics named as the learner names
// notes ("F♯-Dur / D♯-Moll" with English letters); fifths outside -7..7 give an empty text.
QString keyName(KeySignature key, NamingStyle style);

// A key in the current naming style.
QString keyName(KeySignature key);
