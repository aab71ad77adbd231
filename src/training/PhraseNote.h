#pragma once

#include "training/SpelledNote.h"

#include <optional>

// One note of a task's phrase as it stands on the staff and how it was answered.
struct PhraseNote {
    enum class State { Open, Right, Wrong, TimedOut };

    int index = 0;                 // its staff place among the clef's notes
    SpelledNote note;              // as written
    std::optional<int> accidental; // the sign before its head, none when the key spells it
    State state = State::Open;
    std::optional<SpelledNote> chosen; // what a wrong answer chose
};
