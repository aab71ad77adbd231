#pragma once

#include <span>

// Fundamental frequency in Hz of a periodic stretch of sound, or 0 if it has no clear period
// between minHz and maxHz. The period tells which note sounds, so a loud second harmonic does not
// read as the octave above; the spectral peaks of the lowest partials tell its exact pitch, so
// the sharp upper partials of a piano do not pull it up.
double estimateFundamental(std::span<const float> samples, double sampleRate, double minHz,
                           double maxHz);
