#include "training/NoteModel.h"

#include "training/NoteNaming.h"

namespace {

constexpr int BassStepOffset = 5;
// The lowest staff step of each clef's 15 notes: treble f (F3), bass F (F2).
constexpr int TrebleLowest = 3 * SpelledNote::StepsPerOctave + 3;
constexpr int BassLowest = TrebleLowest - SpelledNote::StepsPerOctave;

bool validIndex(int index) {
    return index >= 0 && index < NoteCount;
}

} // namespace

std::optional<SpelledNote> clefNote(Clef clef, int index) {
    if (!validIndex(index))
        return std::nullopt;
    if (clef == Clef::Bass)
        return SpelledNote{BassLowest + index, 0};
    if (clef == Clef::Violin)
        return SpelledNote{TrebleLowest + index, 0};
    return std::nullopt;
}

QString noteName(Clef clef, int index) {
    const auto note = clefNote(clef, index);
    return note ? noteName(*note) : QString();
}

int staffStep(Clef clef, int index) {
    if (!validIndex(index))
        return -1;
    if (clef == Clef::Bass)
        return index + BassStepOffset;
    if (clef == Clef::Violin)
        return index;
    return -1;
}
