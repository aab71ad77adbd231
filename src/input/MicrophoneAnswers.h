#pragma once

#include "input/Microphone.h"

#include <QObject>
#include <QString>

#include <chrono>
#include <functional>

class Exercise;

// Notes played or sung into the microphone answer the exercise as MIDI keys do. The device, and
// the pitch library, are opened only from the start to the end of an exercise the learner chose
// it for. Nothing is heard from the program's own note-on until half a second after its sound
// has ended, and a note answers at most one task.
class MicrophoneAnswers : public QObject {
    Q_OBJECT

public:
    struct Choice {
        bool answer = false;
        bool anyOctave = false;
    };
    // `choice` is asked at each start.
    MicrophoneAnswers(Exercise& exercise, std::function<Choice()> choice,
                      QObject* parent = nullptr);
    ~MicrophoneAnswers() override;

signals:
    // The microphone could not be opened or has gone, in German; once the exercise has ended,
    // so that a message box never stands over a task whose time runs.
    void notice(const QString& text);

private:
    using Clock = std::chrono::steady_clock;

    void start();
    void stop();
    void holdNotice();
    void ended();
    void heard(int pitch, Clock::time_point decided);
    void deviceLost();

    Exercise& exercise_;
    const std::function<Choice()> choice_;
    bool anyOctave_ = false;
    bool muted_ = false;
    Clock::time_point listenFrom_;
    bool noticeHeld_ = false;
    // Its stream holds the note listener; last, so that it stops calling before the rest goes.
    Microphone microphone_;
};
