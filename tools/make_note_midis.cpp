// Writes one short piano note per staff position as a Standard MIDI File:
//   <out>/violin/0.mid .. 14.mid and <out>/bass/0.mid .. 14.mid

#include "feedback/PianoNotes.h"
#include "training/NotePitches.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// 480 ticks per quarter at the default 120 bpm gives 960 ticks per second.
constexpr int ticksPerQuarter = 480;
constexpr int microsecondsPerQuarter = 500000;
constexpr int noteTicks = 960;
// Time after the note-off for the release to fade (by 35 dB or more with the usual General MIDI
// pianos) before the player closes its stream, which would otherwise click.
constexpr int tailTicks = 288;
// The player keeps only as much of the piano's samples as the longest note can play.
static_assert(double(noteTicks + tailTicks) * microsecondsPerQuarter / ticksPerQuarter / 1e6 <
              longestNoteSeconds);

void appendBigEndian(Bytes& out, std::uint32_t value, int byteCount) {
    for (int shift = 8 * (byteCount - 1); shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void appendVariableLength(Bytes& out, std::uint32_t value) {
    Bytes groups{static_cast<std::uint8_t>(value & 0x7f)};
    while ((value >>= 7) != 0)
        groups.push_back(static_cast<std::uint8_t>(0x80 | (value & 0x7f)));
    out.insert(out.end(), groups.rbegin(), groups.rend());
}

Bytes noteFile(int midiNote) {
    const auto note = static_cast<std::uint8_t>(midiNote);
    Bytes track;
    appendVariableLength(track, 0);
    track.insert(track.end(), {0xff, 0x51, 0x03});
    appendBigEndian(track, microsecondsPerQuarter, 3);
    appendVariableLength(track, 0);
    track.insert(track.end(), {0xc0, 0x00}); // acoustic grand piano on channel 0
    appendVariableLength(track, 0);
    track.insert(track.end(), {0x90, note, std::uint8_t(noteVelocity)});
    appendVariableLength(track, noteTicks);
    track.insert(track.end(), {0x80, note, 64});
    appendVariableLength(track, tailTicks);
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

bool writeFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_note_midis OUTPUT_FOLDER\n";
        return 2;
    }
    const std::filesystem::path outFolder = argv[1];
    for (const ClefPitches& clef : clefPitches()) {
        const std::filesystem::path folder = outFolder / clef.folder;
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error) {
            std::cerr << "make_note_midis: cannot create " << folder << ": " << error.message()
                      << '\n';
            return 1;
        }
        for (std::size_t index = 0; index < clef.midiNotes.size(); ++index) {
            const std::filesystem::path file = folder / (std::to_string(index) + ".mid");
            if (!writeFile(file, noteFile(clef.midiNotes[index]))) {
                std::cerr << "make_note_midis: cannot write " << file << '\n';
                return 1;
            }
        }
    }
    return 0;
}
