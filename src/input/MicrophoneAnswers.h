#pragma once

#include "input/Microphone.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class Exercise;
struct Hearing;

// Notes played or sung into the microphone answer the exercise as MIDI keys do. The device, and
// the pitch library, are opened only from the start to the end of an exercise the learner chose
// it for. Nothing is heard from the program's own note-on until its sound has faded at the
// microphone; a note begun meanwhile and still held then answers. A note answers at most one task.
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
    void start();
    void stop();
    void holdNotice();
    void ended();
    void heard(int pitch);
    void deviceLost();

    Exercise& exercise_;
    const std::function<Choice()> choice_;
    bool anyOctave_ = false;
    bool noticeHeld_ = false;
    // Shared with the stream, which the audio thread may still hold after a close; here only
    // to tell it of the program's own sound.
    std::shared_ptr<Hearing> hearing_;
    // Last, so that it stops calling before the rest goes.
    Microphone microphone_;
};
