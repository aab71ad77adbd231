#include "input/MicrophoneAnswers.h"

#include "input/HeardNotes.h"
#include "input/MicrophoneLog.h"
#include "training/Exercise.h"

namespace {

const QString lostText = QStringLiteral("Das Mikrofon ist nicht mehr erreichbar. Die Übung geht "
                                        "ohne Mikrofon weiter.");

} // namespace

MicrophoneAnswers::MicrophoneAnswers(Exercise& exercise, std::function<Choice()> choice,
                                     std::function<void(const QString&)> notice, QObject* parent)
    : QObject(parent), exercise_(exercise), choice_(std::move(choice)), notice_(std::move(notice)) {
    connect(&exercise_, &Exercise::started, this, &MicrophoneAnswers::start);
    connect(&exercise_, &Exercise::ended, this, &MicrophoneAnswers::stop);
    connect(&exercise_, &Exercise::noteSoundStarted, this, [this] {
        if (mute_)
            mute_->ownSoundStarted();
    });
    connect(&exercise_, &Exercise::noteSoundEnded, this, [this] {
        if (mute_)
            mute_->ownSoundEnded();
    });
}

MicrophoneAnswers::~MicrophoneAnswers() {
    microphone_.close();
}

void MicrophoneAnswers::start() {
    const Choice choice = choice_();
    const AubioLibrary* aubio = AubioLibrary::get();
    if (!choice.answer || !aubio)
        return;
    anyOctave_ = choice.anyOctave;
    listener_ = std::make_unique<NoteListener>(*aubio, Microphone::sampleRate,
                                               listenedPitches(exercise_.clef(), anyOctave_));
    mute_ = std::make_unique<OwnSoundMute>(*listener_, Microphone::sampleRate, [] {
        qCDebug(microphoneLog) << "listening again after the program's own note";
    });
    // On the audio thread: only a decided note crosses over, to this object's thread.
    const bool opened = microphone_.open(
        [this](std::span<const float> samples) {
            mute_->feed(samples, [this](int pitch) {
                QMetaObject::invokeMethod(
                    this, [this, pitch] { heard(pitch); }, Qt::QueuedConnection);
            });
        },
        [this] { QMetaObject::invokeMethod(this, &MicrophoneAnswers::deviceLost); });
    if (!opened) {
        mute_.reset();
        listener_.reset();
        notice_(lostText);
    }
}

void MicrophoneAnswers::stop() {
    microphone_.close();
    mute_.reset();
    listener_.reset();
}

void MicrophoneAnswers::heard(int pitch) {
    // Nothing is held back for the task to come, as a key would be: a note heard while the
    // program's own sounds may be that note.
    if (!listener_ || !exercise_.taskOpen())
        return;
    if (const std::optional<int> index =
            heardAnswer(exercise_.clef(), pitch, exercise_.askedNote(), anyOctave_))
        exercise_.answerFromInstrument(*index, AnswerInput::Microphone);
}

void MicrophoneAnswers::deviceLost() {
    if (!listener_)
        return;
    stop();
    notice_(lostText);
}
