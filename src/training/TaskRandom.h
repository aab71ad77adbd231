#pragma once

// A uniform number in [0, 1) from a generator seeded from the time of day: the first draw after
// the clock has moved starts that moment's sequence, later draws in the same moment go on along it.
double timeSeededRandom();
