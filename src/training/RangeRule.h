#pragma once

#include "training/NoteModel.h"

#include <QString>

#include <array>
#include <variant>

struct NoteRange {
    int lowest = 0;
    int highest = 0;
};

// The range from the lowest to the highest ticked box; boxes between them do not matter.
// Fewer than two ticked boxes give the German message that asks for both ends.
std::variant<NoteRange, QString> rangeFromTicks(const std::array<bool, NoteCount>& ticked,
                                                Clef clef);

// A range as the settings keep it, "lowest-highest"; a missing or damaged text reads as the
// whole of the clef's 15 notes.
NoteRange rangeFromText(const QString& text);
QString rangeText(const NoteRange& range);
