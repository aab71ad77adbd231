#pragma once

#include <QObject>

#include <functional>
#include <memory>

// What the settings dialog needs of the microphone; main() wires the real one, tests their own.
struct MicrophoneAccess {
    // Asks whether the system has a recording device, never waiting for the answer: `answer` is
    // told on the caller's thread what is known already, if anything, and each answer that
    // comes while `receiver` lives.
    std::function<void(QObject* receiver, std::function<void(bool found)> answer)> found;
    // Opens the device and reports its loudness, in dB below full scale, to `level` on the
    // caller's thread a few times a second; the device closes when the returned object goes.
    std::function<std::unique_ptr<QObject>(std::function<void(float)> level)> watchLevel;
};
