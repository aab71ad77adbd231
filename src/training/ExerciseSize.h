#pragma once

// The notes a clef asks, index 0..14 from the lowest, and the tasks an exercise asks.
constexpr int NoteCount = 15;
constexpr int TasksPerExercise = 25;
