#pragma once

#include "training/Clef.h"
#include "training/NoteNaming.h"
#include "training/SpelledNote.h"

#include <QChar>

#include <optional>

// A note named by typing its letter: the clef's staff place of that letter nearest the asked
// note, and the alteration the letter itself carries (the German b is h flat), if any.
struct TypedNote {
    int index = 0; // 0..14 among the clef's notes
    std::optional<int> alteration;
    friend constexpr bool operator==(const TypedNote&, const TypedNote&) = default;
};

// None for a key that names no note in the learner's letters (solfège is typed in C D E F G A B).
std::optional<TypedNote> noteOfTypedLetter(QChar typed, NoteLetters letters, Clef clef,
                                           const SpelledNote& asked);
