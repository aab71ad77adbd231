#pragma once

#include <QString>

// What the learner is told when an exercise ends: the errors out of all tasks (out of all notes
// when each task was a phrase), or that an aborted exercise is not assessed.
QString resultText(bool aborted, int errors, int notesPerTask = 1);

// The time-out message naming the asked note.
QString timeOutText(const QString& askedName);
