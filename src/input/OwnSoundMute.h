#pragma once

#include <array>
#include <atomic>
#include <functional>
#include <optional>
#include <span>

class NoteListener;

// A microphone hears the program's own note as well, from a loudspeaker. Nothing decided counts
// from the note's start until its sound has faded at the microphone: back to the level before it,
// or, where something else still sounds, down from the note's last level and steady, or steady a
// while after its end. A note that was decided meanwhile and is still held steady then counts at
// that moment, so a learner who plays as soon as the note shows is heard.
class OwnSoundMute {
public:
    using Decided = std::function<void(int pitch)>;

    // `listening`, if given, is called on the audio thread each time the listening starts again.
    OwnSoundMute(NoteListener& listener, unsigned sampleRate, std::function<void()> listening = {});

    // From any thread: the program's own sound began, and it has ended at the loudspeaker.
    void ownSoundStarted();
    void ownSoundEnded();

    // On the audio thread: feeds the listener and calls `decided` for each note that counts.
    void feed(std::span<const float> samples, const Decided& decided);

private:
    enum class OwnSound { Silent, Sounding, Ended };
    static constexpr unsigned levelHops = 4;

    void followHop(const Decided& decided);
    bool faded(float level) const;

    NoteListener& listener_;
    const std::function<void()> listening_;
    const unsigned endReachedHops_;
    const unsigned longestFadeHops_;
    std::atomic<OwnSound> ownSound_ = OwnSound::Silent;

    // The audio thread's own.
    bool muted_ = false;
    unsigned filled_ = 0;
    float hopEnergy_ = 0.0f;
    float power_ = 0.0f;
    std::array<float, levelHops> levels_{}; // dB, newest last
    float floorDb_ = -120.0f;               // the level before the own sound began
    float endedDb_ = -120.0f;               // the loudest since its end
    unsigned hopsSinceEnd_ = 0;
    std::optional<int> decidedMuted_; // the note decided last while muted
};
