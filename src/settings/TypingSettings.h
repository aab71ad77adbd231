#pragma once

class SettingsStore;

// Whether a typed letter waits for its octave (c' as c then ', C4) before it answers; off, the
// letter alone answers the nearest note of its name. Absent or junk reads as off.
bool readTypeOctave(const SettingsStore& store);
// False when the value could not be written.
bool saveTypeOctave(SettingsStore& store, bool typeOctave);
