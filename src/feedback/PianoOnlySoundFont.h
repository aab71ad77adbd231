#pragma once

#include <QByteArray>

#include <cstdint>
#include <optional>

class QIODevice;

// A SoundFont 2 file as the player has FluidSynth read it: the same bytes, except that its preset
// tables describe the General MIDI piano (bank 0, program 0) alone. FluidSynth keeps the tables
// of every preset in memory, about 2 kB per zone, 10 MB for a large General MIDI SoundFont; the
// notes need one preset. The samples stay where they are, so the piano sounds the same.
struct PianoOnlySoundFont {
    // The file is read up to `pdtaOffset` (its RIFF size replaced by `riffSize`), then
    // `pdtaChunk`, then the file again from `restOffset` on.
    std::int64_t pdtaOffset = 0;
    std::uint32_t riffSize = 0;
    QByteArray pdtaChunk;
    std::int64_t restOffset = 0;
};

// None if the device holds no SoundFont 2 with a piano at bank 0, program 0, or one whose preset
// tables do not hold together.
std::optional<PianoOnlySoundFont> pianoOnlySoundFont(QIODevice& file);
