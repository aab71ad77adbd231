#pragma once

// A uniform number in [0, 1) from a generator reseeded from the time of day before every draw
// that the clock has moved on for.
double timeSeededRandom();
