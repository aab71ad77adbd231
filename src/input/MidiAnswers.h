#pragma once

#include "input/MidiInput.h"

#include <QObject>

#include <memory>
#include <optional>

class Exercise;

// Keys pressed on a MIDI keyboard answer the exercise as clicks on their notes do. A key pressed
// while a note sounds is held back and given to the task that note opens; the last one counts.
class MidiAnswers : public QObject {
    Q_OBJECT

public:
    MidiAnswers(Exercise& exercise, std::unique_ptr<MidiInput> input, QObject* parent = nullptr);

    // Opens the input; at the start of each exercise it connects the keyboards found then.
    void open();

private:
    void keyPressed(int pitch);
    void giveHeldKey();

    Exercise& exercise_;
    std::optional<int> held_; // a note index
    const MidiInput::Received received_;
    // Last, so that it stops calling before the rest goes.
    std::unique_ptr<MidiInput> input_;
};
