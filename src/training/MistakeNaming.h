#pragma once

#include "training/Clef.h"

#include <QList>
#include <QString>

#include <optional>

// A task the learner missed: the note asked and the note chosen, or none when the time ran out.
struct MissedTask {
    int task = 0; // from 1
    int asked = 0;
    std::optional<int> chosen;
};

// What the result message's details say about an exercise's missed tasks in the given clef: one
// line per task naming what was chosen instead, by its interval and whether it is the note the
// staff place has in the other clef, and with two or more a line that counts each kind of
// mistake. Empty without missed tasks.
QString mistakeDetails(Clef clef, const QList<MissedTask>& missed);
