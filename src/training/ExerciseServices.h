#pragma once

#include "training/MessageIcon.h"

#include <QString>

#include <functional>

class NotePlayer;

// What the exercise reaches outside itself; main() wires the real ones, tests their own.
struct ExerciseServices {
    // A modal message with the program's title; returns when the learner has closed it. Details,
    // when not empty, lie behind the box's details button.
    std::function<void(const QString& text, MessageIcon icon, const QString& details)> message;
    NotePlayer* player = nullptr;
    std::function<double()> random; // uniform in [0, 1)
    QString programDir;             // holds sound/
};
