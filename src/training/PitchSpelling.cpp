#include "training/PitchSpelling.h"

#include <optional>

SpelledNote spellPitch(int midiPitch, const SpelledNote& asked, KeySignature key,
                       OwnAccidentals own) {
    if (midiPitch == asked.midiPitch())
        return asked;
    if (const std::optional<SpelledNote> natural = SpelledNote::naturalOf(midiPitch))
        return *natural;
    // A black key lies a semitone from each of its two neighbouring white keys.
    const int fromAskedStep = midiPitch - SpelledNote{asked.step, 0}.midiPitch();
    if (fromAskedStep == 1 || fromAskedStep == -1)
        return {asked.step, fromAskedStep};
    const SpelledNote sharp{SpelledNote::naturalOf(midiPitch - 1)->step, 1};
    const SpelledNote flat{SpelledNote::naturalOf(midiPitch + 1)->step, -1};
    if (key.spell(sharp.step) == sharp)
        return sharp;
    if (key.spell(flat.step) == flat)
        return flat;
    const bool flats = key.fifths < 0 || own == OwnAccidentals::Flats;
    return flats ? flat : sharp;
}
