#pragma once

#include "training/TaskOutcome.h"

#include <QString>

#include <optional>

// How an answer's input is written in the record.
inline QString inputKey(AnswerInput input) {
    switch (input) {
    case AnswerInput::Buttons:
        return QStringLiteral("buttons");
    case AnswerInput::ScreenKeyboard:
        return QStringLiteral("screen_keyboard");
    case AnswerInput::Midi:
        return QStringLiteral("midi");
    case AnswerInput::Microphone:
        return QStringLiteral("microphone");
    }
    return {};
}

inline std::optional<AnswerInput> inputOfKey(const QString& key) {
    for (AnswerInput input : {AnswerInput::Buttons, AnswerInput::ScreenKeyboard, AnswerInput::Midi,
                              AnswerInput::Microphone})
        if (key == inputKey(input))
            return input;
    return std::nullopt;
}
