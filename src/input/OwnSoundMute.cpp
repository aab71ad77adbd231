#include "input/OwnSoundMute.h"

#include "input/NoteListener.h"

#include <algorithm>
#include <cmath>

namespace {

// The level is followed over about two hops, so that the end of a sound shows at once.
constexpr float levelSmoothing = 1.0f / 2.0f;
// Back within this of the level before the program's note: faded.
constexpr float floorMarginDb = 6.0f;
// Quieter than this is silence.
constexpr float silenceDb = -70.0f;
// Down this far from the loudest since the end, the end has reached the microphone; what still
// sounds is someone else's.
constexpr float endHeardDropDb = 10.0f;
// Not falling by more than this over the hops followed: steady.
constexpr float steadyDb = 1.5f;
// A sound server delivers recorded sound this late at most; by then the end has been heard.
constexpr float endReachedSeconds = 0.08f;
// The tail of a note in a reverberant room, at the longest.
constexpr float longestFadeSeconds = 0.5f;

unsigned hopsIn(float seconds, unsigned sampleRate) {
    return unsigned(seconds * float(sampleRate) / float(NoteListener::hopSize));
}

} // namespace

OwnSoundMute::OwnSoundMute(NoteListener& listener, unsigned sampleRate,
                           std::function<void()> listening)
    : listener_(listener), listening_(std::move(listening)),
      endReachedHops_(hopsIn(endReachedSeconds, sampleRate)),
      longestFadeHops_(hopsIn(longestFadeSeconds, sampleRate)) {}

void OwnSoundMute::ownSoundStarted() {
    ownSound_ = OwnSound::Sounding;
}

void OwnSoundMute::ownSoundEnded() {
    OwnSound sounding = OwnSound::Sounding;
    ownSound_.compare_exchange_strong(sounding, OwnSound::Ended);
}

void OwnSoundMute::feed(std::span<const float> samples, const Decided& decided) {
    const Decided heard = [&](int pitch) {
        if (muted_)
            decidedMuted_ = pitch;
        else
            decided(pitch);
    };
    while (!samples.empty()) {
        const std::span<const float> hop =
            samples.first(std::min<std::size_t>(samples.size(), NoteListener::hopSize - filled_));
        samples = samples.subspan(hop.size());
        for (const float sample : hop)
            hopEnergy_ += sample * sample;
        filled_ += unsigned(hop.size());
        listener_.feed(hop, heard);
        if (filled_ == NoteListener::hopSize)
            followHop(decided);
    }
}

void OwnSoundMute::followHop(const Decided& decided) {
    power_ += levelSmoothing * (hopEnergy_ / float(NoteListener::hopSize) - power_);
    filled_ = 0;
    hopEnergy_ = 0.0f;
    const float level = 10.0f * std::log10(power_ + 1e-12f);
    std::shift_left(levels_.begin(), levels_.end(), 1);
    levels_.back() = level;

    const OwnSound ownSound = ownSound_;
    if (ownSound == OwnSound::Silent) {
        floorDb_ = level;
        return;
    }
    if (!muted_ || ownSound == OwnSound::Sounding) {
        // A sound that began and ended between two hops is followed from its end all the same.
        if (!muted_)
            decidedMuted_.reset();
        muted_ = true;
        hopsSinceEnd_ = 0;
        endedDb_ = level;
        if (ownSound == OwnSound::Sounding)
            return;
    }
    ++hopsSinceEnd_;
    endedDb_ = std::max(endedDb_, level);
    if (!faded(level))
        return;
    OwnSound ended = OwnSound::Ended;
    ownSound_.compare_exchange_strong(ended, OwnSound::Silent);
    muted_ = false;
    if (listening_)
        listening_();
    if (decidedMuted_ && listener_.hearing() == decidedMuted_)
        decided(*decidedMuted_);
    decidedMuted_.reset();
}

bool OwnSoundMute::faded(float level) const {
    if (level <= std::max(floorDb_ + floorMarginDb, silenceDb) || hopsSinceEnd_ >= longestFadeHops_)
        return true;
    const bool steady = hopsSinceEnd_ >= levelHops && level >= levels_.front() - steadyDb;
    return steady && (level <= endedDb_ - endHeardDropDb || hopsSinceEnd_ >= endReachedHops_);
}
