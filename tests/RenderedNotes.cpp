#include "RenderedNotes.h"

#include <QFile>

#include <fluidsynth.h>

#include <array>
#include <cmath>
#include <random>

namespace {

constexpr int blockFrames = 64;
constexpr double releaseSeconds = 0.5;
constexpr double flushSeconds = 3.0;
constexpr int velocity = 100;

} // namespace

NoteRenderer::NoteRenderer(const QString& soundFont, double sampleRate)
    : sampleRate_(sampleRate), settings_(new_fluid_settings()) {
    fluid_settings_setnum(settings_, "synth.sample-rate", sampleRate);
    synth_ = new_fluid_synth(settings_);
    loaded_ =
        fluid_synth_sfload(synth_, QFile::encodeName(soundFont).constData(), 1) != FLUID_FAILED;
}

NoteRenderer::~NoteRenderer() {
    delete_fluid_synth(synth_);
    delete_fluid_settings(settings_);
}

std::vector<float> NoteRenderer::render(const InstrumentNote& note, double leadSeconds) {
    if (!loaded_)
        return {};
    // Nothing of the last note is left, not even its reverberation.
    fluid_synth_system_reset(synth_);
    std::vector<float> discarded;
    renderFor(flushSeconds, discarded);
    fluid_synth_program_change(synth_, 0, note.program);
    // The wheel's 14 bits span four semitones around its middle.
    fluid_synth_pitch_bend(synth_, 0, 8192 + int(std::lround(note.detune * 4096.0)));
    std::vector<float> mono;
    renderFor(leadSeconds, mono);
    fluid_synth_noteon(synth_, 0, note.pitch, velocity);
    renderFor(note.heldSeconds, mono);
    fluid_synth_noteoff(synth_, 0, note.pitch);
    renderFor(releaseSeconds, mono);
    return mono;
}

void NoteRenderer::renderFor(double seconds, std::vector<float>& mono) {
    std::array<float, 2 * blockFrames> stereo{};
    const auto end = mono.size() + std::size_t(seconds * sampleRate_);
    while (mono.size() < end) {
        fluid_synth_write_float(synth_, blockFrames, stereo.data(), 0, 2, stereo.data(), 1, 2);
        for (int frame = 0; frame < blockFrames; ++frame)
            mono.push_back(0.5f * (stereo[2 * frame] + stereo[2 * frame + 1]));
    }
}

void addPinkNoise(std::vector<float>& samples, std::size_t from, double dbBelow) {
    double sum = 0.0;
    for (std::size_t i = from; i < samples.size(); ++i)
        sum += double(samples[i]) * samples[i];
    const double noteRms = std::sqrt(sum / double(std::max<std::size_t>(1, samples.size() - from)));

    // White noise through three leaky integrators of staggered corner frequencies falls by about
    // 3 dB an octave across the audible range.
    std::mt19937 random(22);
    std::normal_distribution<double> white;
    std::vector<double> pink(samples.size());
    std::array<double, 3> state{};
    constexpr std::array<double, 3> poles{0.99765, 0.96300, 0.57000};
    constexpr std::array<double, 3> gains{0.0990460, 0.2965164, 1.0526913};
    double pinkSum = 0.0;
    for (double& value : pink) {
        const double w = white(random);
        value = 0.1848 * w;
        for (std::size_t k = 0; k < state.size(); ++k) {
            state[k] = poles[k] * state[k] + gains[k] * w;
            value += state[k];
        }
        pinkSum += value * value;
    }
    const double scale =
        noteRms * std::pow(10.0, -dbBelow / 20.0) / std::sqrt(pinkSum / double(pink.size()));
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] += float(pink[i] * scale);
}
