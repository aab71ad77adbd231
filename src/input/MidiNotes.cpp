#include "input/MidiNotes.h"

#include "training/NoteModel.h"
#include "training/NotePitches.h"

#include <algorithm>

namespace {
constexpr unsigned char statusKind = 0xF0;
constexpr unsigned char noteOn = 0x90;
} // namespace

std::optional<int> pressedPitch(std::span<const unsigned char> message) {
    if (message.size() != 3 || (message[0] & statusKind) != noteOn || message[1] > 127 ||
        message[2] == 0 || message[2] > 127)
        return std::nullopt;
    return message[1];
}

std::optional<int> noteIndexOfPitch(Clef clef, int pitch) {
    const std::string_view folder = clef == Clef::Violin ? "violin"
                                    : clef == Clef::Bass ? "bass"
                                                         : std::string_view();
    const auto pitches = std::find_if(clefPitches.begin(), clefPitches.end(),
                                      [&](const ClefPitches& c) { return c.folder == folder; });
    if (pitches == clefPitches.end())
        return std::nullopt;
    const auto found = std::find(pitches->midiNotes.begin(), pitches->midiNotes.end(), pitch);
    if (found == pitches->midiNotes.end())
        return std::nullopt;
    return int(found - pitches->midiNotes.begin());
}
