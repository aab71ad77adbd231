#include "training/NoteModel.h"

#include <array>

namespace {

constexpr std::array<const char*, NoteCount> TrebleNames = {
    "f", "g", "a", "h", "c'", "d'", "e'", "f'", "g'", "a'", "h'", "c''", "d''", "e''", "f''"};
constexpr std::array<const char*, NoteCount> BassNames = {"F", "G", "A", "H",  "c",  "d",  "e", "f",
                                                          "g", "a", "h", "c'", "d'", "e'", "f'"};

constexpr int BassStepOffset = 5;

bool validIndex(int index) {
    return index >= 0 && index < NoteCount;
}

} // namespace

QString noteName(Clef clef, int index) {
    if (!validIndex(index))
        return {};
    if (clef == Clef::Bass)
        return QString::fromLatin1(BassNames[index]);
    if (clef == Clef::Violin)
        return QString::fromLatin1(TrebleNames[index]);
    return {};
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
