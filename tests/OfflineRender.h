#pragma once

#include <QString>

#include <vector>

// Which of a SoundFont's presets FluidSynth reads: all, or the piano alone as the player does.
enum class SoundFontPresets { All, PianoOnly };

// Plays a MIDI file through a SoundFont as fast as the CPU allows and returns the mono mix,
// from the first tick up to the file's last one. Empty if the SoundFont cannot be loaded, or
// more than its piano was loaded when only that was asked for.
std::vector<float> renderMidiFile(const QString& soundFont, const QString& midiFile,
                                  double sampleRate,
                                  SoundFontPresets presets = SoundFontPresets::All);
