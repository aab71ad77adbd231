#include "input/MidiNotes.h"

#include "training/NoteModel.h"

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
    for (int index = 0; index < NoteCount; ++index)
        if (pitchOfNoteIndex(clef, index) == pitch)
            return index;
    return std::nullopt;
}

std::optional<int> pitchOfNoteIndex(Clef clef, int index) {
    const std::optional<SpelledNote> note = clefNote(clef, index);
    if (!note)
        return std::nullopt;
    return note->midiPitch();
}
