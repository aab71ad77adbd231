#pragma once

#include "training/Clef.h"
#include "training/KeySignature.h"
#include "training/SpelledNote.h"

#include <QList>
#include <QString>

#include <optional>

// A task the learner missed: the note asked and the note chosen, or none when the time ran out,
// as the clef's natural indices and as spelled notes, and the key it was asked in. Without
// spelled notes the naturals of the indices count.
struct MissedTask {
    MissedTask(int task_, int askedIndex_, std::optional<int> chosenIndex_,
               std::optional<SpelledNote> askedNote_ = {},
               std::optional<SpelledNote> chosenNote_ = {}, KeySignature key_ = {})
        : task(task_), askedIndex(askedIndex_), chosenIndex(chosenIndex_), askedNote(askedNote_),
          chosenNote(chosenNote_), key(key_) {}

    int task = 0; // from 1
    int askedIndex = 0;
    std::optional<int> chosenIndex;
    std::optional<SpelledNote> askedNote;
    std::optional<SpelledNote> chosenNote;
    KeySignature key;
    std::optional<int> place; // within its task's phrase, from 0; none for a single note
};

// What the result message's details say about an exercise's missed tasks in the given clef: one
// line per task naming what was chosen instead, by its interval and whether it is the note the
// staff place has in the other clef, and with two or more a line that counts each kind of
// mistake (with altered notes also a forgotten or wrong accidental and, where the spelling was
// judged, an enharmonic mix-up). Empty without missed tasks.
QString mistakeDetails(Clef clef, const QList<MissedTask>& missed, bool alteredNotes = false);
