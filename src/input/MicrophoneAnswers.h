#pragma once

#include "input/Microphone.h"
#include "input/NoteListener.h"
#include "input/OwnSoundMute.h"

#include <QObject>

#include <functional>
#include <memory>

class Exercise;

// Notes played or sung into the microphone answer the exercise as MIDI keys do. The device is
// open only from the start to the end of an exercise the learner chose it for. Nothing is heard
// from the program's own note-on until its sound has faded at the microphone; a note begun
// meanwhile and still held then answers. A note answers at most one task.
class MicrophoneAnswers : public QObject {
    Q_OBJECT

public:
    struct Choice {
        bool answer = false;
        bool anyOctave = false;
    };
    // `choice` is asked at each start; `notice` tells the learner something, once.
    MicrophoneAnswers(Exercise& exercise, std::function<Choice()> choice,
                      std::function<void(const QString&)> notice, QObject* parent = nullptr);
    ~MicrophoneAnswers() override;

private:
    void start();
    void stop();
    void heard(int pitch);
    void deviceLost();

    Exercise& exercise_;
    const std::function<Choice()> choice_;
    const std::function<void(const QString&)> notice_;
    bool anyOctave_ = false;
    std::unique_ptr<NoteListener> listener_;
    std::unique_ptr<OwnSoundMute> mute_;
    // Last, so that it stops calling before the rest goes.
    Microphone microphone_;
};
