// Writes one short piano note per staff position as a Standard MIDI File:
//   <out>/violin/0.mid .. 14.mid and <out>/bass/0.mid .. 14.mid

#include "feedback/PianoNoteFile.h"
#include "training/NotePitches.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

using pianofile::Bytes;

// A second's note, and the time after its release for the release to fade (by 35 dB or more
// with the usual General MIDI pianos) before the player closes its stream, which would
// otherwise click.
constexpr int noteTicks = pianofile::ticksPerSecond;
constexpr int tailTicks = 288;
// The player keeps only as much of the piano's samples as the longest note can play.
static_assert(double(noteTicks + tailTicks) / pianofile::ticksPerSecond < longestNoteSeconds);

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
            if (!writeFile(file, pianofile::pianoNotes({clef.midiNotes[index]}, noteTicks,
                                                       noteTicks, tailTicks))) {
                std::cerr << "make_note_midis: cannot write " << file << '\n';
                return 1;
            }
        }
    }
    return 0;
}
