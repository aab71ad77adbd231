#pragma once

#include <QObject>

#include <functional>
#include <memory>

// What the settings dialog needs of the microphone; main() wires the real one, tests their own.
struct MicrophoneAccess {
    // Whether the system's recording device answers; asked as the dialog opens.
    std::function<bool()> found;
    // Opens the device and reports its loudness, in dB below full scale, to `level` on the
    // caller's thread a few times a second; the device closes when the returned object goes.
    std::function<std::unique_ptr<QObject>(std::function<void(float)> level)> watchLevel;
};
