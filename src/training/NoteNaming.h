#pragma once

#include "training/SpelledNote.h"

#include <QString>

// How the learner names notes: the letters (or syllables) and how octaves are told apart.
enum class NoteLetters { German, English, Solfege };
enum class OctaveStyle { Helmholtz, Scientific };

struct NamingStyle {
    NoteLetters letters = NoteLetters::German;
    OctaveStyle octaves = OctaveStyle::Helmholtz;
    friend constexpr bool operator==(const NamingStyle&, const NamingStyle&) = default;
};

// The one place a note gets its name: "cis'", "B" (German B flat), "C♯4", "do♯'"...
QString noteName(const SpelledNote& note, NamingStyle style);

// The style every window names notes in; German Helmholtz until the settings say otherwise.
NamingStyle namingStyle();
void setNamingStyle(NamingStyle style);

// A note in the current style.
QString noteName(const SpelledNote& note);
