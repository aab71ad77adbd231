#include "input/NoteListener.h"

#include <algorithm>
#include <cmath>

namespace {

// Below this aubio's own reading of the pitch is not trusted. At 0.9 a cello's attack, flat by
// most of a semitone, is still taken for the note below.
constexpr float minConfidence = 0.92f;
// A vibrato or a slightly mistuned string still names its note; a quarter tone between two notes
// names neither.
constexpr float tolerance = 0.35f;
constexpr int agreeingHopsToDecide = 2;
// The note decided last is decided again only after it has faded this far below its loudest and
// risen this far again: a new stroke of the bow or a new breath. Dips in confidence, the swell of
// a long note, the fading tail of a plucked string or of a piano are the same note still.
constexpr float releaseDropDb = 15.0f;
constexpr float onsetRiseDb = 10.0f;
// The level is followed over about eight hops: the partials of one note beat against each other
// and against the room, which makes a single hop's level jump by 20 dB.
constexpr float levelSmoothing = 1.0f / 8.0f;
// Quieter than this is silence to aubio, so a room's hum names nothing.
constexpr float silenceDb = -60.0f;

} // namespace

NoteListener::NoteListener(const AubioLibrary& aubio, unsigned sampleRate,
                           std::vector<int> candidates)
    : aubio_(aubio), candidates_(std::move(candidates)),
      pitch_(aubio.new_pitch("yinfast", windowSize, hopSize, sampleRate)),
      hop_(aubio.new_fvec(hopSize)), result_(aubio.new_fvec(1)) {
    aubio_.pitch_set_unit(pitch_, "midi");
    aubio_.pitch_set_silence(pitch_, silenceDb);
}

NoteListener::~NoteListener() {
    aubio_.del_fvec(result_);
    aubio_.del_fvec(hop_);
    aubio_.del_pitch(pitch_);
}

void NoteListener::feed(std::span<const float> samples, const Decided& decided) {
    while (!samples.empty()) {
        const std::size_t taken = std::min<std::size_t>(samples.size(), hopSize - filled_);
        std::copy_n(samples.begin(), taken, hop_->data + filled_);
        filled_ += unsigned(taken);
        samples = samples.subspan(taken);
        if (filled_ < hopSize)
            return;
        filled_ = 0;
        if (const std::optional<int> note = analyseHop())
            decided(*note);
    }
}

std::optional<int> NoteListener::analyseHop() {
    aubio_.pitch_do(pitch_, hop_, result_);
    const float confidence = aubio_.pitch_get_confidence(pitch_);
    // yinfast reads more than 1 at some onsets; such a reading says nothing.
    const std::optional<int> named = confidence >= minConfidence && confidence <= 1.0f
                                         ? candidateNear(result_->data[0])
                                         : std::nullopt;
    agreeingHops_ = named && named == agreeing_ ? agreeingHops_ + 1 : 1;
    agreeing_ = named;

    const float level = levelDb();
    followLevel(level);
    // A held note's octave is that note still: strings and voices flip to it for a hop or two.
    const bool same = named && last_ && (*named - *last_) % 12 == 0;
    if (!named || same || agreeingHops_ < agreeingHopsToDecide)
        return std::nullopt;
    last_ = named;
    sounding_ = true;
    peakDb_ = level;
    return named;
}

void NoteListener::followLevel(float level) {
    if (!last_)
        return;
    if (sounding_) {
        peakDb_ = std::max(peakDb_, level);
        if (level < peakDb_ - releaseDropDb) {
            sounding_ = false;
            troughDb_ = level;
        }
        return;
    }
    troughDb_ = std::min(troughDb_, level);
    if (level > troughDb_ + onsetRiseDb)
        last_.reset();
}

float NoteListener::levelDb() {
    float sum = 0.0f;
    for (unsigned i = 0; i < hopSize; ++i)
        sum += hop_->data[i] * hop_->data[i];
    power_ += levelSmoothing * (sum / float(hopSize) - power_);
    return 10.0f * std::log10(power_ + 1e-12f);
}

std::optional<int> NoteListener::candidateNear(float pitch) const {
    const auto nearest =
        std::min_element(candidates_.begin(), candidates_.end(), [pitch](int a, int b) {
            return std::abs(float(a) - pitch) < std::abs(float(b) - pitch);
        });
    if (nearest == candidates_.end() || std::abs(float(*nearest) - pitch) > tolerance)
        return std::nullopt;
    return *nearest;
}
