#pragma once

#include "training/KeySignature.h"
#include "training/SpelledNote.h"

// A key played or a pitch heard, spelled as the learner most likely read it while `asked` is
// asked in `key` with the tasks' own signs `own`. The asked pitch is the asked note. A white key
// is its own natural. A black key next to the asked step's natural is that step altered, so a
// missed sign is named as such; any other black key is spelled as the key signature spells it,
// else with flats in flat keys and with own flats, else with sharps.
SpelledNote spellPitch(int midiPitch, const SpelledNote& asked, KeySignature key,
                       OwnAccidentals own);
