#pragma once

#include <QString>

// What the learner is told when an exercise ends: the errors out of all tasks, or that an aborted
// exercise is not assessed.
QString resultText(bool aborted, int errors);

// The time-out message naming the asked note.
QString timeOutText(const QString& askedName);
