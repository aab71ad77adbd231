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
    // After the routine that showed the task has returned, as a click held back would come.
    connect(&exercise_, &Exercise::taskShown, this, &MidiAnswers::giveHeldKey,
            Qt::QueuedConnection);
    connect(&exercise_, &Exercise::ended, this, [this] { held_.reset(); });
}

void MidiAnswers::open() {
    input_->open(received_);
}

void MidiAnswers::keyPressed(int pitch) {
    const std::optional<int> index = noteIndexOfPitch(exercise_.clef(), pitch);
    if (!index)
        return;
    // The sound's own event loop lets this call through, but the task opens only after it.
    if (exercise_.sounding())
        held_ = index;
    else
        exercise_.answer(*index, AnswerInput::Midi);
}

void MidiAnswers::giveHeldKey() {
    if (const std::optional<int> index = std::exchange(held_, std::nullopt))
        exercise_.answer(*index, AnswerInput::Midi);
}
