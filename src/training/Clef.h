#pragma once

// The clef an exercise reads; none before a mode is chosen and after the exercise.
enum class Clef { None, Violin, Bass };
