#pragma once

#include "input/MidiInput.h"

#include <QObject>

#include <memory>

class Exercise;

// Keys pressed on a MIDI keyboard answer the exercise as notes played on an instrument.
class MidiAnswers : public QObject {
    Q_OBJECT

public:
    MidiAnswers(Exercise& exercise, std::unique_ptr<MidiInput> input, QObject* parent = nullptr);

    // Opens the input; at the start of each exercise it connects the keyboards found then.
    void open();

private:
    void keyPressed(int pitch);

    Exercise& exercise_;
    const MidiInput::Received received_;
    // Last, so that it stops calling before the rest goes.
    std::unique_ptr<MidiInput> input_;
};
