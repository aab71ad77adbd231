#pragma once

#include "input/AubioLibrary.h"

#include <functional>
#include <optional>
#include <span>
#include <vector>

// Names the notes played or sung into a microphone, from mono samples as they arrive. aubio's
// `yinfast` gives a pitch and its confidence for every hop; a note is decided when two hops in a
// row agree, confidently, on one of the candidates. One note is decided once: it is decided again
// only after it has faded and a new onset has come, while another note is decided at once.
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

private:
    std::optional<int> analyseHop();
    std::optional<int> candidateNear(float pitch) const;
    // The loudness up to this hop, in dB below full scale.
    float levelDb();
    void followLevel(float level);

    const AubioLibrary& aubio_;
    const std::vector<int> candidates_;
    aubio_pitch_t* pitch_;
    fvec_t* hop_;
    fvec_t* result_;
    unsigned filled_ = 0;

    std::optional<int> agreeing_; // the candidate the last hops named
    int agreeingHops_ = 0;
    std::optional<int> last_; // the note decided last, until a new onset
    bool sounding_ = false;   // it has not yet faded
    float peakDb_ = 0.0f;
    float troughDb_ = 0.0f;
    float power_ = 0.0f;
};
