#pragma once

#include <array>

class SettingsStore;

// How many notes a task holds, read from left to right: the single described note, or a phrase.
inline constexpr std::array<int, 3> NotesPerTaskChoices = {1, 4, 8};

// A value that is absent or not one of the choices reads as the single note.
int readNotesPerTask(const SettingsStore& store);
// False when the value could not be written.
bool saveNotesPerTask(SettingsStore& store, int notesPerTask);
