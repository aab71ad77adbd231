#pragma once

#include "input/Microphone.h"

#include <QObject>
#include <QTimer>

#include <atomic>
#include <functional>

// The microphone open for a level meter: the loudest sample of each tenth of a second, in dB
// below full scale, reported on this object's thread.
class MicrophoneLevel : public QObject {
    Q_OBJECT

public:
    explicit MicrophoneLevel(std::function<void(float)> level);

private:
    void report();

    const std::function<void(float)> level_;
    std::atomic<float> peak_ = 0.0f;
    QTimer timer_;
    // Last, so that it stops calling before the rest goes.
    Microphone microphone_;
};
