#pragma once

#include "feedback/PianoNotes.h"

#include <QByteArray>

#include <cstdint>
#include <optional>

class QIODevice;

// A SoundFont 2 file as the player has FluidSynth read it: the same bytes, except that its preset
// tables describe the General MIDI piano (bank 0, program 0) alone, with only the zones that sound
// for the notes played, and its samples cut to what those notes can play of them. FluidSynth
// keeps the tables of every preset in memory, about 2 kB per zone, 10 MB for a large General MIDI
// SoundFont, and it reads every sample of a preset whole: a piano with recorded velocity layers
// for all 88 keys holds 100 MB. The samples stay where they are, so the notes sound the same.
struct PianoOnlySoundFont {
    // The file is read up to `pdtaOffset` (its RIFF size replaced by `riffSize`), then
    // `pdtaChunk`, then the file again from `restOffset` on.
    std::int64_t pdtaOffset = 0;
    std::uint32_t riffSize = 0;
    QByteArray pdtaChunk;
    std::int64_t restOffset = 0;
};

// None if the device holds no SoundFont 2 with a piano at bank 0, program 0 that sounds the notes,
// or one whose preset tables do not hold together.
std::optional<PianoOnlySoundFont> pianoOnlySoundFont(QIODevice& file,
                                                     const PianoNotes& notes = playedPianoNotes());
