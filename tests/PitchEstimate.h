#pragma once

#include <span>

// Fundamental frequency in Hz of a periodic stretch of sound, or 0 if it has no clear period
// between minHz and maxHz. Takes the first strong autocorrelation peak rather than the highest
// spectral one, so a loud second harmonic does not read as the octave above.
double estimateFundamental(std::span<const float> samples, double sampleRate, double minHz,
                           double maxHz);
