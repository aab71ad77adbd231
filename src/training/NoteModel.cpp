#include "training/NoteModel.h"

#include "training/ClefTable.h"
#include "training/NoteNaming.h"

namespace {

bool validIndex(int index) {
    return index >= 0 && index < NoteCount;
}

} // namespace

std::optional<SpelledNote> clefNote(Clef clef, int index) {
    const ClefRow* row = clefRow(clef);
    if (!row || !validIndex(index))
        return std::nullopt;
    return SpelledNote{row->lowestStep + index, 0};
}

QString noteName(Clef clef, int index) {
    const auto note = clefNote(clef, index);
    return note ? noteName(*note) : QString();
}

int staffStep(Clef clef, int index) {
    const ClefRow* row = clefRow(clef);
    if (!row || !validIndex(index))
        return -1;
    return row->lowestStep + index - ladderBaseStep(*row);
}

std::optional<int> clefIndexOf(Clef clef, const SpelledNote& note) {
    const ClefRow* row = clefRow(clef);
    if (!row || note.alteration != 0 || !validIndex(note.step - row->lowestStep))
        return std::nullopt;
    return note.step - row->lowestStep;
}
