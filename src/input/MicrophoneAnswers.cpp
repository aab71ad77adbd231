#include "input/MicrophoneAnswers.h"

#include "input/AubioLibrary.h"
#include "input/HeardNotes.h"
#include "input/MicrophoneLog.h"
#include "input/NoteListener.h"
#include "input/OwnSoundMute.h"
#include "training/Exercise.h"

// What listens on the audio thread: the pitch listener behind the mute around the program's own
// sound.
struct Hearing {
    Hearing(const AubioLibrary& aubio, const std::vector<int>& pitches)
        : listener(aubio, Microphone::sampleRate, pitches),
          mute(listener, Microphone::sampleRate,
               [] { qCDebug(microphoneLog) << "listening again after the program's own note"; }) {}
    NoteListener listener;
    OwnSoundMute mute;
};

MicrophoneAnswers::MicrophoneAnswers(Exercise& exercise, std::function<Choice()> choice,
                                     QObject* parent)
    : QObject(parent), exercise_(exercise), choice_(std::move(choice)) {
    connect(&exercise_, &Exercise::started, this, &MicrophoneAnswers::start);
    connect(&exercise_, &Exercise::ended, this, &MicrophoneAnswers::ended);
    connect(&exercise_, &Exercise::noteSoundStarted, this, [this] {
        if (hearing_)
            hearing_->mute.ownSoundStarted();
    });
    connect(&exercise_, &Exercise::noteSoundEnded, this, [this] {
        if (hearing_)
            hearing_->mute.ownSoundEnded();
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
    const auto hearing = std::make_shared<Hearing>(
        *aubio, exercise_.alteredNotes() ? listenedSemitones(exercise_.clef(), anyOctave_)
                                         : listenedPitches(exercise_.clef(), anyOctave_));
    // On the audio thread: only a decided note crosses over, to this object's thread.
    const bool opened = microphone_.open(
        [this, hearing](std::span<const float> samples) {
            hearing->mute.feed(samples, [this](int pitch) {
                QMetaObject::invokeMethod(
                    this, [this, pitch] { heard(pitch); }, Qt::QueuedConnection);
            });
        },
        [this] { QMetaObject::invokeMethod(this, &MicrophoneAnswers::deviceLost); });
    if (opened)
        hearing_ = hearing;
    else
        holdNotice();
}

void MicrophoneAnswers::stop() {
    microphone_.close();
    hearing_.reset();
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

void MicrophoneAnswers::heard(int pitch) {
    // Nothing is held back for the task to come, as a key would be: a note heard while the
    // program's own sounds may be that note.
    if (!microphone_.isOpen() || !exercise_.taskOpen()) {
        qCDebug(microphoneLog) << "heard" << pitch << "with no task open";
        return;
    }
    if (exercise_.alteredNotes()) {
        const std::optional<int> answered = heardPitchAnswer(
            exercise_.clef(), pitch, exercise_.askedSpelled().midiPitch(), anyOctave_);
        qCDebug(microphoneLog) << "heard" << pitch << "answers pitch" << answered.value_or(-1);
        if (answered)
            exercise_.answerPitchFromInstrument(*answered, AnswerInput::Microphone);
        return;
    }
    const std::optional<int> index =
        heardAnswer(exercise_.clef(), pitch, exercise_.askedIndex(), anyOctave_);
    qCDebug(microphoneLog) << "heard" << pitch << "answers" << index.value_or(-1);
    if (index)
        exercise_.answerFromInstrument(*index, AnswerInput::Microphone);
}

void MicrophoneAnswers::deviceLost() {
    if (!microphone_.isOpen())
        return;
    stop();
    holdNotice();
}
