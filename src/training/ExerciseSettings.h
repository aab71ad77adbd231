#pragma once

#include "training/KeySignature.h"

#include <cstdint>

// What the settings dialog hands to an exercise when it starts one.
struct ExerciseSettings {
    std::int16_t NiedrigsterTon = 0;
    std::int16_t HöchsterTon = 0;
    std::int16_t ZeitWeg = 0;    // milliseconds
    std::int16_t ZeitVorbei = 0; // hundredths of a second
    bool UebenMitKeyboard = false;
    bool SchwacheNotenOefter = false; // draw by the notes' records
    // The key: a fixed one (its fifths, see KeySignature), or one drawn for each exercise from
    // those with at most `keyMostAccidentals` signs.
    int keyFifths = 0;
    bool keyEachExercise = false;
    int keyMostAccidentals = KeySignature::MaxAccidentals;
    OwnAccidentals accidentals = OwnAccidentals::None;
    // Each task a phrase of this many notes, read from left to right: 1 (the single note), 4, 8.
    int notesPerTask = 1;

    // C major without accidentals of their own: everything as the natural notes have it.
    bool alteredNotes() const {
        return keyEachExercise || keyFifths != 0 || accidentals != OwnAccidentals::None;
    }
};
