#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// Hearing a note in a stretch of a recording.

// Index of the first sample from `from` on that is louder than the null sink's silence;
// samples.size() if none is.
std::size_t onsetFrom(std::span<const std::int16_t> samples, std::size_t from);

// Fundamental in Hz of what sounds in samples [from, to): the middle one of the readings of
// the first few tenths of a second that sound throughout, since a busy machine may break a
// note up with dropouts; 0 if no such stretch has a clear pitch.
double heardPitch(std::span<const std::int16_t> samples, std::size_t from, std::size_t to,
                  int sampleRate);
