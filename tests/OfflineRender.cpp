#include "OfflineRender.h"

#include "feedback/PianoOnlyLoader.h"

#include <QFile>

#include <fluidsynth.h>

#include <array>
#include <memory>

namespace {

template <auto destroy> struct FluidDeleter {
    template <class T> void operator()(T* object) const { destroy(object); }
};

constexpr int blockFrames = 64;
// Far longer than any note file; stops a file that never ends.
constexpr double maxSeconds = 10.0;

int presetCount(fluid_synth_t* synth, int soundFontId) {
    fluid_sfont_t* soundFont = fluid_synth_get_sfont_by_id(synth, soundFontId);
    int count = 0;
    fluid_sfont_iteration_start(soundFont);
    while (fluid_sfont_iteration_next(soundFont))
        ++count;
    return count;
}

} // namespace

std::vector<float> renderMidiFile(const QString& soundFont, const QString& midiFile,
                                  double sampleRate, SoundFontPresets presets) {
    const std::unique_ptr<fluid_settings_t, FluidDeleter<delete_fluid_settings>> settings(
        new_fluid_settings());
    fluid_settings_setnum(settings.get(), "synth.sample-rate", sampleRate);
    fluid_settings_setstr(settings.get(), "player.timing-source", "sample");
    // As the player: only the samples of the instruments the file plays are read, so a large
    // SoundFont is not read whole for every note.
    fluid_settings_setint(settings.get(), "synth.dynamic-sample-loading", 1);
    const std::unique_ptr<fluid_synth_t, FluidDeleter<delete_fluid_synth>> synth(
        new_fluid_synth(settings.get()));
    if (presets == SoundFontPresets::PianoOnly)
        readPianoOnly(synth.get(), settings.get());
    const int id = fluid_synth_sfload(synth.get(), QFile::encodeName(soundFont).constData(), 1);
    if (id == FLUID_FAILED)
        return {};
    // Where the piano-only view fails to load, FluidSynth's own loader reads the whole file.
    if (presets == SoundFontPresets::PianoOnly && presetCount(synth.get(), id) != 1)
        return {};
    const std::unique_ptr<fluid_player_t, FluidDeleter<delete_fluid_player>> player(
        new_fluid_player(synth.get()));
    if (fluid_player_add(player.get(), QFile::encodeName(midiFile).constData()) != FLUID_OK ||
        fluid_player_play(player.get()) != FLUID_OK)
        return {};

    std::vector<float> mono;
    std::array<float, 2 * blockFrames> stereo{};
    while (double(mono.size()) < maxSeconds * sampleRate) {
        const int total = fluid_player_get_total_ticks(player.get());
        if (fluid_player_get_status(player.get()) != FLUID_PLAYER_PLAYING ||
            (total > 0 && fluid_player_get_current_tick(player.get()) >= total))
            break;
        fluid_synth_write_float(synth.get(), blockFrames, stereo.data(), 0, 2, stereo.data(), 1, 2);
        for (int frame = 0; frame < blockFrames; ++frame)
            mono.push_back(0.5f * (stereo[2 * frame] + stereo[2 * frame + 1]));
    }
    return mono;
}
