#pragma once

#include "training/Clef.h"
#include "training/MessageIcon.h"
#include "training/WeakNotes.h"

#include <QString>

#include <functional>
#include <vector>

class NotePlayer;

// What the exercise reaches outside itself; main() wires the real ones, tests their own.
struct ExerciseServices {
    // A modal message with the program's title; returns when the learner has closed it. Details,
    // when not empty, lie behind the box's details button.
    std::function<void(const QString& text, MessageIcon icon, const QString& details)> message;
    NotePlayer* player = nullptr;
    std::function<double()> random; // uniform in [0, 1)
    QString programDir;             // holds sound/
    // The records of these spelled notes, in their order, in a clef and mode (ear training or
    // reading), for drawing weak notes more often; unset: no record.
    std::function<std::vector<NoteRecord>(Clef clef, bool earTraining,
                                          const std::vector<SpelledNote>& notes)>
        noteRecords;
};
