#pragma once

#include "feedback/PianoNotes.h"

#include <cstdint>
#include <vector>

// Standard MIDI Files of piano notes struck one after another: a note file of one key, or a
// phrase heard in ear training. A header only, as the build's note-file tool writes them too.
namespace pianofile {

using Bytes = std::vector<std::uint8_t>;

// 480 ticks per quarter at 120 bpm: 960 ticks a second.
inline constexpr int ticksPerQuarter = 480;
inline constexpr int microsecondsPerQuarter = 500000;
inline constexpr int ticksPerSecond = 960;

inline void appendBigEndian(Bytes& out, std::uint32_t value, int byteCount) {
    for (int shift = 8 * (byteCount - 1); shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

inline void appendVariableLength(Bytes& out, std::uint32_t value) {
    Bytes groups{static_cast<std::uint8_t>(value & 0x7f)};
    while ((value >>= 7) != 0)
        groups.push_back(static_cast<std::uint8_t>(0x80 | (value & 0x7f)));
    out.insert(out.end(), groups.rbegin(), groups.rend());
}

// The keys struck `everyTicks` apart, each held for `heldTicks` (at most `everyTicks`), and the
// file lasting `tailTicks` after the last release for its sound to fade.
inline Bytes pianoNotes(const std::vector<int>& keys, int everyTicks, int heldTicks,
                        int tailTicks) {
    Bytes track;
    appendVariableLength(track, 0);
    track.insert(track.end(), {0xff, 0x51, 0x03});
    appendBigEndian(track, microsecondsPerQuarter, 3);
    appendVariableLength(track, 0);
    track.insert(track.end(), {0xc0, 0x00}); // acoustic grand piano on channel 0
    int restBefore = 0;
    for (const int key : keys) {
        const auto note = static_cast<std::uint8_t>(key);
        appendVariableLength(track, std::uint32_t(restBefore));
        track.insert(track.end(), {0x90, note, std::uint8_t(noteVelocity)});
        appendVariableLength(track, std::uint32_t(heldTicks));
        track.insert(track.end(), {0x80, note, 64});
        restBefore = everyTicks - heldTicks;
    }
    appendVariableLength(track, std::uint32_t(tailTicks));
    track.insert(track.end(), {0xff, 0x2f, 0x00});

    Bytes file{'M', 'T', 'h', 'd'};
    appendBigEndian(file, 6, 4);
    appendBigEndian(file, 0, 2); // format 0
    appendBigEndian(file, 1, 2); // one track
    appendBigEndian(file, ticksPerQuarter, 2);
    file.insert(file.end(), {'M', 'T', 'r', 'k'});
    appendBigEndian(file, static_cast<std::uint32_t>(track.size()), 4);
    file.insert(file.end(), track.begin(), track.end());
    return file;
}

} // namespace pianofile
