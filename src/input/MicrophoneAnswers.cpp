#include "input/MicrophoneAnswers.h"

#include "input/AubioLibrary.h"
#include "input/HeardNotes.h"
#include "input/NoteListener.h"
#include "training/Exercise.h"

#include <memory>

namespace {

// The tail of the program's own note, and its echo in the room, can still be decided this long
// after its sound has ended.
constexpr std::chrono::milliseconds deafAfterSound(500);

} // namespace

MicrophoneAnswers::MicrophoneAnswers(Exercise& exercise, std::function<Choice()> choice,
                                     QObject* parent)
    : QObject(parent), exercise_(exercise), choice_(std::move(choice)) {
    connect(&exercise_, &Exercise::started, this, &MicrophoneAnswers::start);
    connect(&exercise_, &Exercise::ended, this, &MicrophoneAnswers::ended);
    connect(&exercise_, &Exercise::noteSoundStarted, this, [this] { muted_ = true; });
    connect(&exercise_, &Exercise::noteSoundEnded, this, [this] {
        muted_ = false;
        listenFrom_ = Clock::now() + deafAfterSound;
    });
}

MicrophoneAnswers::~MicrophoneAnswers() {
    microphone_.close();
}

void MicrophoneAnswers::start() {
    const Choice choice = choice_();
    if (!choice.answer)
        return;
    const AubioLibrary* aubio = AubioLibrary::get();
    if (!aubio)
        return;
    anyOctave_ = choice.anyOctave;
    // Owned by the stream, which the audio thread may still hold after a close.
    const auto listener = std::make_shared<NoteListener>(
        *aubio, Microphone::sampleRate, listenedPitches(exercise_.clef(), anyOctave_));
    // On the audio thread: only a decided note crosses over, to this object's thread.
    const bool opened = microphone_.open(
        [this, listener](std::span<const float> samples) {
            listener->feed(samples, [this](int pitch) {
                QMetaObject::invokeMethod(
                    this, [this, pitch, at = Clock::now()] { heard(pitch, at); },
                    Qt::QueuedConnection);
            });
        },
        [this] { QMetaObject::invokeMethod(this, &MicrophoneAnswers::deviceLost); });
    if (!opened)
        holdNotice();
}

void MicrophoneAnswers::stop() {
    microphone_.close();
}

// Told once the exercise has ended, so that it never stands over a task whose time runs.
void MicrophoneAnswers::holdNotice() {
    noticeHeld_ = true;
}

void MicrophoneAnswers::ended() {
    stop();
    if (!std::exchange(noticeHeld_, false))
        return;
    // After the exercise's own end, which comes with its result.
    QMetaObject::invokeMethod(
        this,
        [this] {
            emit notice(tr("Das Mikrofon war während der Übung nicht erreichbar. Die Übung lief "
                           "ohne Mikrofon."));
        },
        Qt::QueuedConnection);
}

void MicrophoneAnswers::heard(int pitch, Clock::time_point decided) {
    // Nothing is held back for the task to come, as a key would be: a note heard while the
    // program's own sounds may be that note.
    if (!microphone_.isOpen() || muted_ || decided < listenFrom_ || !exercise_.taskOpen())
        return;
    if (const std::optional<int> index =
            heardAnswer(exercise_.clef(), pitch, exercise_.askedNote(), anyOctave_))
        exercise_.answerFromInstrument(*index, AnswerInput::Microphone);
}

void MicrophoneAnswers::deviceLost() {
    if (!microphone_.isOpen())
        return;
    stop();
    holdNotice();
}
