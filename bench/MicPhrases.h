#pragma once

// Phrases of eight notes drawn as the exercise draws them, played legato and detached on cello,
// flute and voice from both SoundFonts and heard whole by one note listener: a table of the
// notes answered right and how soon, and their figures. Prints nothing measured if a SoundFont
// is missing.
void printPhraseFigures();
