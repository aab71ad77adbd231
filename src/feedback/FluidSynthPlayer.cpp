#include "feedback/FluidSynthPlayer.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include <alsa/asoundlib.h>
#include <fluidsynth.h>

#include <chrono>
#include <mutex>
#include <string>

namespace {

using namespace std::chrono_literals;

// 48 kHz is what most sound cards run at, so the server need not resample.
constexpr double sampleRate = 48000.0;
// PulseAudio buffers one period: 21 ms rides out a busy machine without dropouts, and the server
// mixes a new stream in at once, so the note still starts within a few milliseconds. ALSA, used
// only without a sound server, gets two periods.
constexpr int periodSize = 1024;
constexpr int periodCount = 2;
// A single note at FluidSynth's default gain is barely audible.
constexpr double gain = 1.0;
constexpr auto pollInterval = 5ms;
// Playback whose position stops moving means the sound device hangs; give up rather than block.
constexpr qint64 stallMilliseconds = 500;

template <auto destroy> struct FluidDeleter {
    template <class T> void operator()(T* object) const { destroy(object); }
};
using SettingsPtr = std::unique_ptr<fluid_settings_t, FluidDeleter<delete_fluid_settings>>;
using SynthPtr = std::unique_ptr<fluid_synth_t, FluidDeleter<delete_fluid_synth>>;
using MidiPlayerPtr = std::unique_ptr<fluid_player_t, FluidDeleter<delete_fluid_player>>;
using DriverPtr = std::unique_ptr<fluid_audio_driver_t, FluidDeleter<delete_fluid_audio_driver>>;

void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// A machine without sound must not fill the terminal with library complaints.
void silenceSoundLibraries() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level)
            fluid_set_log_function(level, nullptr, nullptr);
        snd_lib_error_set_handler(ignoreAlsaError);
    });
}

bool finished(fluid_player_t* player) {
    // The player only reports it is done about two seconds after the last event, so compare
    // the position with the file's length as well.
    const int total = fluid_player_get_total_ticks(player);
    return fluid_player_get_status(player) != FLUID_PLAYER_PLAYING ||
           (total > 0 && fluid_player_get_current_tick(player) >= total);
}

// Runs the event loop, so the window keeps painting, until the file has played to its end.
// Input arriving meanwhile is handled afterwards.
void waitUntilFinished(fluid_player_t* player) {
    QEventLoop loop;
    QTimer poll;
    QElapsedTimer sinceProgress;
    sinceProgress.start();
    int lastTick = -1;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        const int tick = fluid_player_get_current_tick(player);
        if (tick != lastTick) {
            lastTick = tick;
            sinceProgress.restart();
        }
        if (finished(player) || sinceProgress.elapsed() > stallMilliseconds)
            loop.quit();
    });
    poll.start(pollInterval);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

struct FluidSynthPlayer::Engine {
    SettingsPtr settings;
    SynthPtr synth;
    std::string defaultDriver;

    static std::unique_ptr<Engine> load(const QStringList& soundFonts);
    DriverPtr openAudio();
};

std::unique_ptr<FluidSynthPlayer::Engine>
FluidSynthPlayer::Engine::load(const QStringList& soundFonts) {
    const QByteArray soundFont = QFile::encodeName(findSoundFont(soundFonts));
    if (soundFont.isEmpty())
        return nullptr;

    auto engine = std::make_unique<Engine>();
    engine->settings.reset(new_fluid_settings());
    if (!engine->settings)
        return nullptr;
    fluid_settings_t* settings = engine->settings.get();
    char driver[64] = {};
    fluid_settings_copystr(settings, "audio.driver", driver, sizeof driver);
    engine->defaultDriver = driver;
    fluid_settings_setnum(settings, "synth.sample-rate", sampleRate);
    fluid_settings_setnum(settings, "synth.gain", gain);
    fluid_settings_setint(settings, "audio.period-size", periodSize);
    fluid_settings_setint(settings, "audio.periods", periodCount);
    // Driven by the rendered samples, the first note-on lands in the very first audio block.
    fluid_settings_setstr(settings, "player.timing-source", "sample");
    // Voices and reverb left over from the previous note are cut when the next file starts.
    fluid_settings_setint(settings, "player.reset-synth", 1);

    engine->synth.reset(new_fluid_synth(settings));
    if (!engine->synth ||
        fluid_synth_sfload(engine->synth.get(), soundFont.constData(), 1) == FLUID_FAILED)
        return nullptr;
    return engine;
}

DriverPtr FluidSynthPlayer::Engine::openAudio() {
    fluid_settings_setstr(settings.get(), "audio.driver", "pulseaudio");
    DriverPtr driver(new_fluid_audio_driver(settings.get(), synth.get()));
    if (!driver && defaultDriver != "pulseaudio") {
        fluid_settings_setstr(settings.get(), "audio.driver", defaultDriver.c_str());
        driver.reset(new_fluid_audio_driver(settings.get(), synth.get()));
    }
    return driver;
}

FluidSynthPlayer::FluidSynthPlayer(QStringList soundFonts) {
    silenceSoundLibraries();
    loader_ = std::thread(
        [this, soundFonts = std::move(soundFonts)] { engine_ = Engine::load(soundFonts); });
}

FluidSynthPlayer::~FluidSynthPlayer() {
    if (loader_.joinable())
        loader_.join();
}

bool FluidSynthPlayer::waitForSoundFont() {
    if (loader_.joinable())
        loader_.join();
    return engine_ != nullptr;
}

void FluidSynthPlayer::playFile(const QString& midiPath) {
    // A timer firing while a note sounds must not start a second one on the same synth.
    if (playing_)
        return;
    const QByteArray path = QFile::encodeName(midiPath);
    if (!fluid_is_midifile(path.constData()) || !waitForSoundFont())
        return;

    const MidiPlayerPtr player(new_fluid_player(engine_->synth.get()));
    if (!player || fluid_player_add(player.get(), path.constData()) != FLUID_OK ||
        fluid_player_play(player.get()) != FLUID_OK)
        return;
    // Opened last so that its first block already carries the note. Declared after the player,
    // it is closed first, before the player it drives goes away.
    const DriverPtr driver = engine_->openAudio();
    if (!driver)
        return;

    playing_ = true;
    waitUntilFinished(player.get());
    playing_ = false;
}
