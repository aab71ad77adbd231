#include "input/HeardNotes.h"

#include "input/MidiNotes.h"
#include "training/NoteModel.h"
#include "training/SpelledNote.h"

#include <cstdlib>

namespace {

// From C2, below a bass voice, to C6, above a soprano.
constexpr int lowestAnyOctave = SpelledNote{2 * SpelledNote::StepsPerOctave}.midiPitch();
constexpr int highestAnyOctave = SpelledNote{6 * SpelledNote::StepsPerOctave}.midiPitch();

constexpr int Octave = SpelledNote::SemitonesPerOctave;

bool isNatural(int pitch) {
    return SpelledNote::naturalOf(pitch).has_value();
}

} // namespace

std::vector<int> listenedPitches(Clef clef, bool anyOctave) {
    std::vector<int> pitches;
    for (int pitch = lowestAnyOctave; pitch <= highestAnyOctave; ++pitch)
        if (anyOctave ? isNatural(pitch) : noteIndexOfPitch(clef, pitch).has_value())
            pitches.push_back(pitch);
    return pitches;
}

std::optional<int> heardAnswer(Clef clef, int pitch, int asked, bool anyOctave) {
    if (!anyOctave)
        return noteIndexOfPitch(clef, pitch);
    const std::optional<int> askedPitch = pitchOfNoteIndex(clef, asked);
    if (!askedPitch || !isNatural(pitch))
        return std::nullopt;
    std::optional<int> nearest;
    int nearestDistance = 0;
    for (int index = 0; index < NoteCount; ++index) {
        const int candidate = *pitchOfNoteIndex(clef, index);
        const int distance = std::abs(candidate - *askedPitch);
        if (candidate % Octave == pitch % Octave && (!nearest || distance < nearestDistance)) {
            nearest = index;
            nearestDistance = distance;
        }
    }
    return nearest;
}

std::vector<int> listenedSemitones(Clef clef, bool anyOctave) {
    std::vector<int> pitches;
    for (int pitch = lowestAnyOctave; pitch <= highestAnyOctave; ++pitch)
        if (anyOctave || withinAlteredRange(clef, pitch))
            pitches.push_back(pitch);
    return pitches;
}

std::optional<int> heardPitchAnswer(Clef clef, int pitch, int askedPitch, bool anyOctave) {
    if (anyOctave) {
        const int classDistance = ((pitch - askedPitch) % Octave + Octave) % Octave;
        // Up to a tritone above the asked pitch, else below it.
        pitch = askedPitch + (classDistance <= Octave / 2 ? classDistance : classDistance - Octave);
    }
    if (!withinAlteredRange(clef, pitch))
        return std::nullopt;
    return pitch;
}
