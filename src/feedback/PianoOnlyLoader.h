#pragma once

#include <fluidsynth.h>

// Has the synth read the General MIDI piano (bank 0, program 0) of the SoundFonts loaded after
// this call, and nothing else: every channel selects it, the drum channel too, and a loader put in
// front of the synth's own reads each file as pianoOnlySoundFont() shows it (whole where that
// finds no piano).
void readPianoOnly(fluid_synth_t* synth, fluid_settings_t* settings);
