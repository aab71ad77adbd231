#pragma once

#include <QString>

// Plays one MIDI file and returns when it has sounded to its end.
// Every failure (no sound device, no SoundFont, missing or broken file) returns at once, silently.
class NotePlayer {
public:
    virtual ~NotePlayer() = default;
    virtual void playFile(const QString& midiPath) = 0;
};
