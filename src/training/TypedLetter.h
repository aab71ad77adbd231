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

// A note typed with its octave, as it is named: the letter, then the octave as a digit (C4; in
// Helmholtz's naming the number of marks, c1 for c') or in Helmholtz's naming as marks (c' as c
// then '), where the letter's case tells the great octave (C) from the small one (c).
enum class TypedNameProgress {
    Open,     // a note so far, which a further mark may still move up an octave
    Complete, // names one of the clef's notes
    NoNote,   // names none of them: start again
};
struct TypedName {
    TypedNameProgress progress = TypedNameProgress::Open;
    std::optional<TypedNote> note; // when complete, or open with a note so far
};

// `finished` when the learner has confirmed what is typed so far (Return).
TypedName readTypedName(QStringView typed, NamingStyle style, Clef clef, bool finished);
