#pragma once

#include "input/AubioLibrary.h"

#include <array>
#include <functional>
#include <optional>
#include <span>
#include <vector>

// Names the notes played or sung into a microphone, from mono samples as they arrive. aubio's
// `yinfast` gives a pitch and its confidence for every hop; a note is decided once a few hops in a
// row hold one steady pitch near one of the candidates, and its octave has been checked against
// the periods half and twice as long. One note is decided once: it is decided again only after it
// has faded and risen again, or at a new attack, while another note is decided at once.
class NoteListener {
public:
    static constexpr unsigned windowSize = 1024;
    static constexpr unsigned hopSize = 256;

    using Decided = std::function<void(int pitch)>;

    // `candidates`: the MIDI notes that may be decided; a pitch between or beside them is none.
    NoteListener(const AubioLibrary& aubio, unsigned sampleRate, std::vector<int> candidates);
    ~NoteListener();

    NoteListener(const NoteListener&) = delete;
    NoteListener& operator=(const NoteListener&) = delete;

    // Takes samples in any count and calls `decided` for each note decided among them.
    void feed(std::span<const float> samples, const Decided& decided);
    // The candidate the last hops hold steady, decided already or not.
    std::optional<int> hearing() const;

private:
    // What one hop read: aubio's pitch in MIDI notes and its confidence.
    struct Reading {
        float pitch = 0.0f;
        float confidence = 0.0f;
    };
    static constexpr unsigned heldHops = 8;
    // Enough for the window after twice the longest period listened for.
    static constexpr unsigned historySize = 3 * windowSize;

    std::optional<int> analyseHop();
    std::optional<int> steadyCandidate() const;
    std::optional<int> candidateNear(float pitch, float within) const;
    // Whether a hop held lately read the candidate's octave above or below.
    bool octaveHeard(int candidate) const;
    // The candidate, the note an octave above or below it where the samples repeat that way, or
    // none where they repeat better a semitone off.
    std::optional<int> checkedPeriod(int candidate) const;
    // How far the last window differs from itself `period` samples earlier: 0 when it repeats
    // exactly, about 1 for unrelated sound.
    float difference(float period) const;
    // The loudness up to this hop, in dB below full scale.
    float levelDb();
    // Forgets the note decided last at a new attack.
    void followAttack();
    void followLevel(float level);

    const AubioLibrary& aubio_;
    const std::vector<int> candidates_;
    aubio_pitch_t* pitch_;
    aubio_onset_t* onset_;
    fvec_t* hop_;
    fvec_t* result_;
    fvec_t* onsetResult_;
    unsigned filled_ = 0;
    unsigned sampleRate_;
    std::vector<float> history_;               // the last samples, oldest first
    std::array<Reading, heldHops> readings_{}; // the last hops', newest last

    std::optional<int> last_; // the note decided last, until a new onset
    bool sounding_ = false;   // it has not yet faded
    unsigned hopsSinceDecided_ = 0;
    unsigned hopsSinceOnset_ = 0;
    std::array<float, 8> windowLevels_{}; // dB over the last window, newest last
    float peakDb_ = 0.0f;
    float troughDb_ = 0.0f;
    float power_ = 0.0f;
};
