#pragma once

class SettingsStore;

// Whether the learner answers by playing or singing into the microphone, and whether any octave
// of the asked note counts. A store without them reads as off.
struct MicrophoneSettings {
    bool answer = false;
    bool anyOctave = false;
};

MicrophoneSettings readMicrophoneSettings(const SettingsStore& store);
// False when a value could not be written.
bool saveMicrophoneSettings(SettingsStore& store, const MicrophoneSettings& settings);
