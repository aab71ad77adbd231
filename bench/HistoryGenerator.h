#pragma once

#include <QString>

// Fills a record with `exercises` exercises of 25 tasks each, spread over the last year, in both
// clefs and modes, with a learner's mistakes and answer times.
void generateHistory(const QString& file, int exercises);
