#include "input/MidiAnswers.h"

#include "input/MidiNotes.h"
#include "training/Exercise.h"

MidiAnswers::MidiAnswers(Exercise& exercise, std::unique_ptr<MidiInput> input, QObject* parent)
    : QObject(parent), exercise_(exercise),
      // On the input's thread: only a pressed key crosses over, to this object's thread.
      received_([this](const unsigned char* bytes, std::size_t size) {
          if (const std::optional<int> pitch = pressedPitch({bytes, size}))
              QMetaObject::invokeMethod(
                  this, [this, key = *pitch] { keyPressed(key); }, Qt::QueuedConnection);
      }),
      input_(std::move(input)) {
    connect(&exercise_, &Exercise::started, this, [this] { input_->connectHardware(); });
}

void MidiAnswers::open() {
    input_->open(received_);
}

// With altered notes every key of the clef's range answers with its pitch, black ones too.
void MidiAnswers::keyPressed(int pitch) {
    if (exercise_.alteredNotes()) {
        if (withinAlteredRange(exercise_.clef(), pitch))
            exercise_.answerPitchFromInstrument(pitch, AnswerInput::Midi);
        return;
    }
    if (const std::optional<int> index = noteIndexOfPitch(exercise_.clef(), pitch))
        exercise_.answerFromInstrument(*index);
}
