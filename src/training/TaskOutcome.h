#pragma once

#include <optional>

// Where an answer came from.
enum class AnswerInput { Buttons, ScreenKeyboard, Midi, Microphone };

// How one task ended: answered right, answered wrong, or timed out (no chosen note, no input).
struct TaskOutcome {
    int task = 0; // 1..25 within its exercise
    int asked = 0;
    std::optional<int> chosen;
    bool right = false;
    long long answerMs = 0; // from the task opening to its end
    std::optional<AnswerInput> input;
};
