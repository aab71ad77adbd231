#pragma once

// The clef an exercise reads; none before a mode is chosen and after the exercise. What each
// clef is lies in ClefTable.
enum class Clef { None, Violin, Bass, Alto, Tenor };
