#pragma once

#include "training/Clef.h"
#include "training/SpelledNote.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <array>
#include <optional>
#include <span>

// Where the signs of a key signature stand, as spelled steps in the order they are added.
using SignatureSteps = std::array<int, 7>;

// One clef: everything that tells it from the others.
struct ClefRow {
    Clef clef;
    const char* name;      // German source of its translated name
    const char* recordKey; // how the record and the settings write it
    char32_t glyph;        // its sign in the Unicode musical symbols block
    int glyphLine;         // the staff line its sign marks, 1 = lowest .. 5 = highest
    int lineStep;          // the spelled step of the note on that line
    int lowestStep;        // the lowest of its 15 natural notes
    // The main window's own mode buttons, answer row and range frame belong to it.
    bool ownButtonRow;
    const char* noteFolder; // its note files below sound/, or none
    const char* readAsText; // German source for a note of another clef read in this one
    const char* choiceText; // German source of its entry in the settings' clef list, if any
    SignatureSteps sharps;  // f c g d a e h
    SignatureSteps flats;   // h e a d g c f
};

// Every clef, the described two first.
std::span<const ClefRow> clefTable();
// The row of a clef; none for Clef::None.
const ClefRow* clefRow(Clef clef);
// "Violinschlüssel", "Altschlüssel", ... in the learner's language; empty for no clef.
QString clefName(Clef clef);
std::optional<Clef> clefOfRecordKey(QStringView key);

// The clefs whose answer rows answer for the clef: its own, or every row for a clef without one.
QList<Clef> answerRows(Clef clef);
// The clefs whose reading of a staff place counts as a mistake of its own: the other clefs with
// an answer row.
QList<Clef> misreadingClefs(Clef clef);

// The spelled step of the note on the lowest rung of the staff ladder (the third ledger line
// below the staff) in the clef.
int ladderBaseStep(const ClefRow& row);
// The note a staff step of the ladder (0 = lowest rung) with an alteration stands for.
std::optional<SpelledNote> noteOnStaff(Clef clef, int staffStep, int alteration = 0);
