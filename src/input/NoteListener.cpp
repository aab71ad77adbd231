#include "input/NoteListener.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// A note is decided when its pitch holds steady near one candidate over a few hops: an attack
// slides or swells into its pitch, a semitone off for a hop or two, and a choir's or a low
// string's confidence stays low for a tenth of a second. Two hops at a very high confidence and
// close to the note, from d up, where a window holds several periods (two hops decide a low
// bassoon's attack an octave low); three at aubio's high confidence (at 0.9 a cello's attack,
// flat by most of a semitone, is still taken for the note below); three at a lower one close to
// the note from g up, where no hop held lately has read its octave (a choir's and a low cello's
// pitch flips to it); or eight at a low one. A new note held very steady at a very high
// confidence may be nearly half a semitone off: a mistuned recorder or trombone would otherwise
// wait until it drifts nearer. A note already decided never turns into its neighbour that way.
struct Steadiness {
    unsigned hops;
    float confidence;
    float tolerance; // from the note, for every hop
    int lowest;      // the lowest note decided so
    bool octaveUnheard = false;
    float spread = 0.25f;      // between the hops' pitches
    bool afterSilence = false; // only while no note is decided
};
// A vibrato or a slightly mistuned string still names its note; a quarter tone between two notes
// names neither.
constexpr float tolerance = 0.35f;
constexpr Steadiness quick{.hops = 2, .confidence = 0.95f, .tolerance = 0.2f, .lowest = 50};
constexpr Steadiness sure{.hops = 3, .confidence = 0.92f, .tolerance = tolerance, .lowest = 0};
constexpr Steadiness close{
    .hops = 3, .confidence = 0.85f, .tolerance = 0.2f, .lowest = 55, .octaveUnheard = true};
constexpr Steadiness slow{.hops = 8, .confidence = 0.6f, .tolerance = tolerance, .lowest = 0};
constexpr Steadiness mistuned{.hops = 8,
                              .confidence = 0.97f,
                              .tolerance = 0.45f,
                              .lowest = 0,
                              .spread = 0.1f,
                              .afterSilence = true};
// A window that repeats after half the period nearly as well as after the period has its
// fundamental an octave higher: a flute's attack read an octave low.
constexpr float octaveUpBelow = 0.2f;
// One that repeats after twice the period far better than after the period has its fundamental
// an octave lower, weak beside its second partial: a low cello's or bassoon's.
constexpr float octaveDownShare = 0.3f;
constexpr float octaveDownAbove = 0.05f;
// The note decided last is decided again only after it has faded this far below its loudest and
// risen this far again: a new stroke of the bow or a new breath. Dips in confidence, the swell of
// a long note, the fading tail of a plucked string or of a piano are the same note still.
constexpr float releaseDropDb = 15.0f;
constexpr float onsetRiseDb = 10.0f;
// The level is followed over about eight hops: the partials of one note beat against each other
// and against the room, which makes a single hop's level jump by 20 dB.
constexpr float levelSmoothing = 1.0f / 8.0f;
// The note decided last is decided again at a new attack, as well: the same note played again
// after a pause too short for its sound to fade. aubio's onset detector on the high frequencies
// marks the bow's or breath's noise; the level must rise within a few hops of it, which a loop
// in a sampled note's sustain or its release does not make. Onsets within the first 0.15 s after
// the decision belong to the attack that decided it.
constexpr char onsetMethod[] = "hfc";
constexpr float onsetThreshold = 0.3f;
constexpr unsigned attackMinimumHops = 26;
constexpr unsigned attackHops = 4;
constexpr float attackRiseDb = 3.0f;
// Quieter than this is silence to aubio, so a room's hum names nothing; a soft note is louder.
constexpr float silenceDb = -70.0f;

float periodOf(float midiNote, unsigned sampleRate) {
    return float(sampleRate) / (440.0f * std::exp2((midiNote - 69.0f) / 12.0f));
}

} // namespace

NoteListener::NoteListener(const AubioLibrary& aubio, unsigned sampleRate,
                           std::vector<int> candidates)
    : aubio_(aubio), candidates_(std::move(candidates)),
      pitch_(aubio.new_pitch("yinfast", windowSize, hopSize, sampleRate)),
      onset_(aubio.new_onset(onsetMethod, windowSize, hopSize, sampleRate)),
      hop_(aubio.new_fvec(hopSize)), result_(aubio.new_fvec(1)), onsetResult_(aubio.new_fvec(1)),
      sampleRate_(sampleRate), history_(historySize, 0.0f) {
    aubio_.pitch_set_unit(pitch_, "midi");
    aubio_.pitch_set_silence(pitch_, silenceDb);
    aubio_.onset_set_silence(onset_, silenceDb);
    aubio_.onset_set_threshold(onset_, onsetThreshold);
}

NoteListener::~NoteListener() {
    aubio_.del_fvec(onsetResult_);
    aubio_.del_fvec(result_);
    aubio_.del_onset(onset_);
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
    std::shift_left(history_.begin(), history_.end(), hopSize);
    std::copy_n(hop_->data, hopSize, history_.end() - hopSize);
    aubio_.pitch_do(pitch_, hop_, result_);
    const float confidence = aubio_.pitch_get_confidence(pitch_);
    std::shift_left(readings_.begin(), readings_.end(), 1);
    readings_.back() = {result_->data[0], confidence};

    followAttack();
    const float level = levelDb();
    followLevel(level);
    const std::optional<int> named = hearing();
    // A held note's octave is that note still: strings and voices flip to it for a hop or two.
    const bool same = named && last_ && (*named - *last_) % 12 == 0;
    if (!named || same)
        return std::nullopt;
    last_ = named;
    sounding_ = true;
    hopsSinceDecided_ = 0;
    peakDb_ = level;
    return named;
}

std::optional<int> NoteListener::hearing() const {
    const std::optional<int> steady = steadyCandidate();
    return steady ? checkedPeriod(*steady) : std::nullopt;
}

std::optional<int> NoteListener::steadyCandidate() const {
    for (const Steadiness steadiness : {quick, sure, close, slow, mistuned}) {
        if (steadiness.afterSilence && last_)
            continue;
        const auto first = readings_.end() - steadiness.hops;
        const bool confident = std::all_of(first, readings_.end(), [&](const Reading& r) {
            // yinfast reads more than 1 at some onsets; such a reading says nothing.
            return r.confidence >= steadiness.confidence && r.confidence <= 1.0f;
        });
        if (!confident)
            continue;
        const auto [low, high] =
            std::minmax_element(first, readings_.end(), [](const Reading& a, const Reading& b) {
                return a.pitch < b.pitch;
            });
        const std::optional<int> named =
            candidateNear(readings_.back().pitch, steadiness.tolerance);
        if (high->pitch - low->pitch <= steadiness.spread && named && *named >= steadiness.lowest &&
            std::abs(low->pitch - float(*named)) <= steadiness.tolerance &&
            std::abs(high->pitch - float(*named)) <= steadiness.tolerance &&
            !(steadiness.octaveUnheard && octaveHeard(*named)))
            return named;
    }
    return std::nullopt;
}

bool NoteListener::octaveHeard(int candidate) const {
    return std::any_of(readings_.begin(), readings_.end(), [candidate](const Reading& r) {
        return r.confidence >= slow.confidence && r.confidence <= 1.0f &&
               std::abs(std::abs(r.pitch - float(candidate)) - 12.0f) < 0.5f;
    });
}

std::optional<int> NoteListener::checkedPeriod(int candidate) const {
    const auto listened = [this](int note) {
        return std::find(candidates_.begin(), candidates_.end(), note) != candidates_.end();
    };
    const auto fit = [this](int note) { return difference(periodOf(float(note), sampleRate_)); };
    // aubio reads no period longer than half its window: a lower note reads as the longest it
    // measures, near the bass clef's low F. The window must repeat after the candidate's period
    // better than after a semitone's more or less; beyond aubio's reach, a semitone lower is the
    // note itself where it is listened for (the low E of a key with flats).
    float period = periodOf(readings_.back().pitch, sampleRate_);
    if (periodOf(float(candidate - 1), sampleRate_) > float(windowSize / 2) &&
        listened(candidate - 1) && fit(candidate - 1) < fit(candidate) &&
        fit(candidate - 1) < fit(candidate - 2)) {
        --candidate;
        period = periodOf(float(candidate), sampleRate_);
    }
    const float atCandidate = fit(candidate);
    if (atCandidate >= fit(candidate - 1) || atCandidate >= fit(candidate + 1))
        return std::nullopt;
    if (difference(period / 2) < octaveUpBelow)
        return listened(candidate + 12) ? std::optional(candidate + 12) : std::nullopt;
    if (2 * period + windowSize <= float(historySize)) {
        const float atPeriod = difference(period);
        if (atPeriod > octaveDownAbove && difference(2 * period) < octaveDownShare * atPeriod)
            return listened(candidate - 12) ? std::optional(candidate - 12) : std::nullopt;
    }
    return candidate;
}

float NoteListener::difference(float period) const {
    const auto lag = std::size_t(std::lround(period));
    const auto end = history_.end();
    float differences = 0.0f;
    float energy = 0.0f;
    for (auto now = end - windowSize, then = now - std::ptrdiff_t(lag); now != end; ++now, ++then) {
        differences += (*now - *then) * (*now - *then);
        energy += *now * *now + *then * *then;
    }
    return energy > 0.0f ? differences / energy : 1.0f;
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

void NoteListener::followAttack() {
    ++hopsSinceDecided_;
    // Only a note still sounding can be played again before it fades; otherwise the detector,
    // which costs as much as the pitch, rests. It starts again at a decision, and what it then
    // marks within the first 0.15 s is not taken as an attack anyway.
    if (last_ && sounding_) {
        aubio_.onset_do(onset_, hop_, onsetResult_);
        if (onsetResult_->data[0] != 0.0f)
            hopsSinceOnset_ = 0;
        else if (hopsSinceOnset_ <= attackHops)
            ++hopsSinceOnset_;
    } else {
        hopsSinceOnset_ = attackHops + 1;
    }
    float energy = 0.0f;
    for (auto sample = history_.end() - windowSize; sample != history_.end(); ++sample)
        energy += *sample * *sample;
    std::shift_left(windowLevels_.begin(), windowLevels_.end(), 1);
    windowLevels_.back() = 10.0f * std::log10(energy / float(windowSize) + 1e-12f);
    const float lowest = *std::min_element(windowLevels_.begin(), windowLevels_.end());
    if (last_ && hopsSinceOnset_ <= attackHops && hopsSinceDecided_ > attackMinimumHops &&
        windowLevels_.back() >= lowest + attackRiseDb)
        last_.reset();
}

float NoteListener::levelDb() {
    float sum = 0.0f;
    for (unsigned i = 0; i < hopSize; ++i)
        sum += hop_->data[i] * hop_->data[i];
    power_ += levelSmoothing * (sum / float(hopSize) - power_);
    return 10.0f * std::log10(power_ + 1e-12f);
}

std::optional<int> NoteListener::candidateNear(float pitch, float within) const {
    const auto nearest =
        std::min_element(candidates_.begin(), candidates_.end(), [pitch](int a, int b) {
            return std::abs(float(a) - pitch) < std::abs(float(b) - pitch);
        });
    if (nearest == candidates_.end() || std::abs(float(*nearest) - pitch) > within)
        return std::nullopt;
    return *nearest;
}
