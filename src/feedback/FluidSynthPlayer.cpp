#include "feedback/FluidSynthPlayer.h"

#include "feedback/PianoNoteFile.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include "feedback/FluidSynthLibrary.h"
#include "feedback/PianoOnlyLoader.h"
#include "feedback/SoundLog.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

namespace {

using namespace std::chrono_literals;

// 48 kHz is what most sound cards run at, so the server need not resample.
constexpr double sampleRate = 48000.0;
// PulseAudio buffers one period: 21 ms rides out a busy machine without dropouts, and the server
// mixes a new stream in at once, so the note still starts within a few milliseconds. ALSA, used
// only without a sound server, gets two periods.
constexpr int periodSize = 1024;
constexpr int periodCount = 2;
// What the output may hold when it closes, still to be heard.
constexpr int outputLatencyMilliseconds = int(periodCount * periodSize * 1000 / sampleRate) + 1;
// A single note at FluidSynth's default gain is barely audible.
constexpr double gain = 1.0;
// A piano note takes a few voices, the previous note's are cut when the next starts; each voice
// of the default 256 costs memory.
constexpr int polyphony = 16;
constexpr auto pollInterval = 5ms;
// The window looks more often, so that the task follows the note's end closely.
constexpr auto windowPollInterval = 2ms;
// Until the file has loaded its length is unknown: a position that does not move for this long
// means the sound device hangs; give up rather than block. An audio device that takes as long to
// open belongs to a sound server that hangs.
constexpr qint64 stallMilliseconds = 500;
// Closing the previous note's device takes at most about one period; waited for this long.
constexpr qint64 closeMilliseconds = 100;
// After a phrase's last note, as after a note file's, for its release to fade.
constexpr int phraseTailTicks = 288;
// How long a note that cannot sound is waited for before the window's event loop runs.
constexpr auto quickFailure = 1ms;
// How long a player that is going away waits for a note still closing its device.
constexpr auto shutdownWait = 200ms;

// Objects exist only once the library has been opened, so their deleters can rely on it.
const FluidSynthLibrary& fluid() {
    return *FluidSynthLibrary::get();
}

template <auto destroy> struct FluidDeleter {
    template <class T> void operator()(T* object) const { (fluid().*destroy)(object); }
};
using SettingsPtr =
    std::unique_ptr<fluid_settings_t, FluidDeleter<&FluidSynthLibrary::delete_settings>>;
using SynthPtr = std::unique_ptr<fluid_synth_t, FluidDeleter<&FluidSynthLibrary::delete_synth>>;
using MidiPlayerPtr =
    std::unique_ptr<fluid_player_t, FluidDeleter<&FluidSynthLibrary::delete_player>>;
using DriverPtr =
    std::unique_ptr<fluid_audio_driver_t, FluidDeleter<&FluidSynthLibrary::delete_audio_driver>>;

void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// A machine without sound must not fill the terminal with library complaints.
void silenceSoundLibraries() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level)
            fluid().set_log_function(level, nullptr, nullptr);
        fluid().alsa_set_error_handler(ignoreAlsaError);
    });
}

bool finished(fluid_player_t* player) {
    // The player only reports it is done about two seconds after the last event, so compare
    // the position with the file's length as well.
    const int total = fluid().player_get_total_ticks(player);
    return fluid().player_get_status(player) != FLUID_PLAYER_PLAYING ||
           (total > 0 && fluid().player_get_current_tick(player) >= total);
}

// Ticks per quarter note from the header of a Standard MIDI File; 0 when unknown, as for a
// time-code division, which gives no pace to compare with.
int ticksPerQuarter(const QString& midiPath) {
    QFile file(midiPath);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray header = file.read(14);
    if (header.size() < 14 || (header[12] & 0x80) != 0)
        return 0;
    return (int(std::uint8_t(header[12])) << 8) | std::uint8_t(header[13]);
}

// How long the position may stand still at `tick` before playback is given up.
double allowedStallMilliseconds(fluid_player_t* player, int tick, int division) {
    const int total = fluid().player_get_total_ticks(player);
    if (total <= 0 || division <= 0)
        return stallMilliseconds;
    const double msPerTick = fluid().player_get_midi_tempo(player) / 1000.0 / division;
    // Once the length is known, a stopped position is waited for only as long as the rest of the
    // file would have taken: a sound server that dies mid-note must not delay the next task. The
    // position runs ahead of what is heard by the device's buffer, which covers late looks.
    return std::max(total - tick, 0) * msPerTick;
}

// Watches the file play on the sound thread until it has played to its end, its position stands
// still for longer than the rest of the file would take, or the window no longer waits for it.
void followUntilFinished(fluid_player_t* player, int division, const std::atomic<bool>& cancel) {
    using Clock = std::chrono::steady_clock;
    auto lastProgress = Clock::now();
    int lastTick = -1;
    while (!finished(player) && !cancel) {
        std::this_thread::sleep_for(pollInterval);
        const int tick = fluid().player_get_current_tick(player);
        const auto now = Clock::now();
        if (tick != lastTick) {
            lastTick = tick;
            lastProgress = now;
        }
        const std::chrono::duration<double, std::milli> still = now - lastProgress;
        if (still.count() > allowedStallMilliseconds(player, lastTick, division)) {
            qCInfo(soundLog) << "the sound output stopped playing at tick" << lastTick
                             << "; the note is given up";
            return;
        }
    }
}

// Runs the event loop, so the window keeps painting, until `done` holds. Input arriving
// meanwhile is handled afterwards.
template <class Condition> void waitInWindow(Condition done) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    poll.start(windowPollInterval);
    if (!done())
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
    if (!FluidSynthLibrary::get())
        return nullptr;
    silenceSoundLibraries();
    const QByteArray soundFont = QFile::encodeName(findSoundFont(soundFonts));
    if (soundFont.isEmpty()) {
        qCInfo(soundLog) << "no SoundFont among" << soundFonts;
        return nullptr;
    }

    auto engine = std::make_unique<Engine>();
    engine->settings.reset(fluid().new_settings());
    if (!engine->settings)
        return nullptr;
    fluid_settings_t* settings = engine->settings.get();
    char driver[64] = {};
    fluid().settings_copystr(settings, "audio.driver", driver, sizeof driver);
    engine->defaultDriver = driver;
    fluid().settings_setnum(settings, "synth.sample-rate", sampleRate);
    fluid().settings_setnum(settings, "synth.gain", gain);
    fluid().settings_setint(settings, "audio.period-size", periodSize);
    fluid().settings_setint(settings, "audio.periods", periodCount);
    // Driven by the rendered samples, the first note-on lands in the very first audio block.
    fluid().settings_setstr(settings, "player.timing-source", "sample");
    // Voices and reverb left over from the previous note are cut when the next file starts.
    fluid().settings_setint(settings, "player.reset-synth", 1);
    // Only the samples of the instruments in use are kept in memory: the notes need the piano
    // alone, and a large SoundFont would otherwise be read whole.
    fluid().settings_setint(settings, "synth.dynamic-sample-loading", 1);
    fluid().settings_setint(settings, "synth.polyphony", polyphony);

    engine->synth.reset(fluid().new_synth(settings));
    if (!engine->synth) {
        qCInfo(soundLog) << "FluidSynth could not make a synthesizer";
        return nullptr;
    }
    fluid_synth_t* synth = engine->synth.get();
    // The notes need the piano alone; a large SoundFont's other presets would take tens of MB.
    readPianoOnly(synth, settings);
    if (fluid().synth_sfload(synth, soundFont.constData(), 1) == FLUID_FAILED) {
        qCInfo(soundLog) << "FluidSynth could not load the SoundFont" << soundFont;
        return nullptr;
    }
    qCInfo(soundLog) << "SoundFont loaded:" << soundFont;
    return engine;
}

DriverPtr FluidSynthPlayer::Engine::openAudio() {
    fluid().settings_setstr(settings.get(), "audio.driver", "pulseaudio");
    DriverPtr driver(fluid().new_audio_driver(settings.get(), synth.get()));
    if (!driver && defaultDriver != "pulseaudio") {
        fluid().settings_setstr(settings.get(), "audio.driver", defaultDriver.c_str());
        driver.reset(fluid().new_audio_driver(settings.get(), synth.get()));
    }
    if (!driver)
        qCInfo(soundLog) << "no sound output: neither pulseaudio nor" << defaultDriver.c_str()
                         << "could be opened";
    return driver;
}

struct FluidSynthPlayer::SoundThread {
    std::shared_ptr<Engine> engine;
    std::mutex mutex;
    std::condition_variable changed;
    std::shared_ptr<Note> next;
    bool busy = false; // a note is queued, playing or closing its device
    bool quit = false;
    FluidSynthPlayer* listener = nullptr; // told when sound begins and dies, while it lives

    void run();
    void tell(void (FluidSynthPlayer::*event)());
};

void FluidSynthPlayer::SoundThread::tell(void (FluidSynthPlayer::*event)()) {
    const std::lock_guard lock(mutex);
    if (listener)
        QMetaObject::invokeMethod(listener, event, Qt::QueuedConnection);
}

namespace {

constexpr int NoteOff = 0x80;
constexpr int NoteOn = 0x90;
constexpr int KeyPressure = 0xa0;
constexpr int HighestKey = 127;

// The keys of a file's note events move by `semitones` on their way to the synthesizer.
struct Transposition {
    fluid_synth_t* synth = nullptr;
    int semitones = 0;
};

// Moves the keys of a file's note events on their way from the player to the synthesizer.
int transposeEvent(void* data, fluid_midi_event_t* event) {
    const auto* shift = static_cast<const Transposition*>(data);
    const int type = fluid().midi_event_get_type(event);
    if (type == NoteOn || type == NoteOff || type == KeyPressure) {
        const int key = fluid().midi_event_get_key(event) + shift->semitones;
        if (key < 0 || key > HighestKey)
            return FLUID_OK;
        fluid().midi_event_set_key(event, key);
    }
    return fluid().synth_handle_midi_event(shift->synth, event);
}

} // namespace

// One file handed to the sound thread, and what the window learns of it.
struct FluidSynthPlayer::Note {
    QByteArray path;  // a file's,
    QByteArray bytes; // or a phrase made in memory
    int division = 0;
    Transposition transposition;
    std::atomic<bool> sounding{false};  // the audio device is open, the note began
    std::atomic<bool> over{false};      // played to its end, or given up on the sound thread
    std::atomic<bool> abandoned{false}; // the window stopped waiting before it sounded

    void play(Engine& engine, SoundThread& thread);
};

void FluidSynthPlayer::Note::play(Engine& engine, SoundThread& thread) {
    const MidiPlayerPtr player(fluid().new_player(engine.synth.get()));
    transposition.synth = engine.synth.get();
    if (player && transposition.semitones != 0)
        fluid().player_set_playback_callback(player.get(), transposeEvent, &transposition);
    const int added = !player           ? FLUID_FAILED
                      : bytes.isEmpty() ? fluid().player_add(player.get(), path.constData())
                                        : fluid().player_add_mem(player.get(), bytes.constData(),
                                                                 std::size_t(bytes.size()));
    if (added != FLUID_OK || fluid().player_play(player.get()) != FLUID_OK) {
        qCInfo(soundLog) << "FluidSynth could not play" << path;
        over = true;
        return;
    }
    // Opened last so that its first block already carries the note. Declared after the player,
    // it is closed first, before the player it drives goes away. Either may hang on a sound
    // server that hangs.
    const DriverPtr driver = engine.openAudio();
    if (driver && !abandoned) {
        sounding = true;
        thread.tell(&FluidSynthPlayer::soundBegan);
        followUntilFinished(player.get(), division, abandoned);
    }
    // A note cut off holds its keys in the synthesizer, which the next note would sound
    // beside.
    if (abandoned)
        fluid().synth_all_sounds_off(engine.synth.get(), -1);
    over = true;
}

void FluidSynthPlayer::SoundThread::run() {
    std::unique_lock lock(mutex);
    for (;;) {
        changed.wait(lock, [this] { return quit || next; });
        if (quit)
            return;
        const std::shared_ptr<Note> note = std::move(next);
        lock.unlock();
        note->play(*engine, *this);
        // The output has closed: what still rang is silenced, what it held plays out.
        if (note->sounding)
            tell(&FluidSynthPlayer::soundDied);
        lock.lock();
        // A note started meanwhile is still to play.
        busy = next != nullptr;
        changed.notify_all();
    }
}

FluidSynthPlayer::FluidSynthPlayer(QStringList soundFonts) : soundFonts_(std::move(soundFonts)) {
    endReport_.setSingleShot(true);
    endReport_.setInterval(outputLatencyMilliseconds);
    connect(&endReport_, &QTimer::timeout, this, &NotePlayer::soundEnded);
}

void FluidSynthPlayer::soundBegan() {
    if (endReport_.isActive())
        endReport_.stop();
    else
        emit soundStarted();
}

void FluidSynthPlayer::soundDied() {
    endReport_.start();
}

void FluidSynthPlayer::startLoading() {
    if (loadStarted_)
        return;
    loadStarted_ = true;
    loader_ = std::thread([this] { engine_ = Engine::load(soundFonts_); });
}

FluidSynthPlayer::~FluidSynthPlayer() {
    if (loader_.joinable())
        loader_.join();
    if (!soundThread_.joinable())
        return;
    std::unique_lock lock(sound_->mutex);
    sound_->listener = nullptr;
    const bool idle =
        sound_->changed.wait_for(lock, shutdownWait, [this] { return !sound_->busy; });
    sound_->quit = true;
    sound_->changed.notify_all();
    lock.unlock();
    // A thread stuck on a hung sound server is left to the end of the process.
    if (idle)
        soundThread_.join();
    else
        soundThread_.detach();
}

bool FluidSynthPlayer::waitForSoundFont() {
    startLoading();
    if (loader_.joinable())
        loader_.join();
    return engine_ != nullptr;
}

void FluidSynthPlayer::startSoundThread() {
    if (soundThread_.joinable())
        return;
    sound_ = std::make_shared<SoundThread>();
    sound_->engine = engine_;
    sound_->listener = this;
    soundThread_ = std::thread([sound = sound_] { sound->run(); });
}

// The previous note closes its device right after its end; a device that does not close at all
// is not waited for again until it has.
bool FluidSynthPlayer::waitForIdleSound() {
    const auto idle = [this] {
        const std::lock_guard lock(sound_->mutex);
        return !sound_->busy;
    };
    if (idle()) {
        soundHangs_ = false;
        return true;
    }
    if (soundHangs_)
        return false;
    QElapsedTimer waited;
    waited.start();
    waitInWindow([&] { return idle() || waited.elapsed() > closeMilliseconds; });
    soundHangs_ = !idle();
    if (soundHangs_)
        qCInfo(soundLog) << "the last note's sound output does not close; notes are skipped";
    return !soundHangs_;
}

void FluidSynthPlayer::playFile(const QString& midiPath) {
    playFileTransposed(midiPath, 0);
}

void FluidSynthPlayer::playFileTransposed(const QString& midiPath, int semitones) {
    // A timer firing while a note sounds must not start a second one on the same synth.
    if (playing_)
        return;
    if (const std::shared_ptr<Note> note = fileNote(midiPath, semitones))
        playToEnd(note);
}

std::shared_ptr<FluidSynthPlayer::Note> FluidSynthPlayer::fileNote(const QString& midiPath,
                                                                   int semitones) {
    const QByteArray path = QFile::encodeName(midiPath);
    if (!waitForSoundFont())
        return nullptr;
    if (!fluid().is_midifile(path.constData())) {
        qCInfo(soundLog) << "not a MIDI file:" << path;
        return nullptr;
    }
    auto note = std::make_shared<Note>();
    note->path = path;
    note->division = ticksPerQuarter(midiPath);
    note->transposition.semitones = semitones;
    return note;
}

void FluidSynthPlayer::playPitches(const std::vector<int>& midiPitches, int msPerNote) {
    if (playing_ || midiPitches.empty() || !waitForSoundFont())
        return;
    const int every = std::max(1, msPerNote * pianofile::ticksPerSecond / 1000);
    // Each key let go just before the next is struck, as a steady legato would.
    const pianofile::Bytes bytes =
        pianofile::pianoNotes(midiPitches, every, every * 9 / 10, phraseTailTicks);
    auto note = std::make_shared<Note>();
    note->bytes = QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    note->division = pianofile::ticksPerQuarter;
    playToEnd(note);
}

void FluidSynthPlayer::playToEnd(const std::shared_ptr<Note>& note) {
    startSoundThread();
    playing_ = true;
    cutOffStarted();
    if (waitForIdleSound()) {
        {
            const std::lock_guard lock(sound_->mutex);
            sound_->next = note;
            sound_->busy = true;
        }
        sound_->changed.notify_all();
        // Without a sound device the note is over at once: no need to run the event loop then.
        {
            std::unique_lock lock(sound_->mutex);
            sound_->changed.wait_for(lock, quickFailure, [this] { return !sound_->busy; });
        }
        QElapsedTimer waited;
        waited.start();
        waitInWindow([&] {
            return note->over || (!note->sounding && waited.elapsed() > stallMilliseconds);
        });
        if (!note->over)
            note->abandoned = true;
    }
    playing_ = false;
}

// The window does not wait: the sound thread plays it once the last note started so has been
// cut off and its device closed.
void FluidSynthPlayer::startFileTransposed(const QString& midiPath, int semitones) {
    if (playing_ || soundHangs_)
        return;
    const std::shared_ptr<Note> note = fileNote(midiPath, semitones);
    if (!note)
        return;
    startSoundThread();
    cutOffStarted();
    {
        const std::lock_guard lock(sound_->mutex);
        sound_->next = note;
        sound_->busy = true;
    }
    sound_->changed.notify_all();
    started_ = note;
}

void FluidSynthPlayer::cutOffStarted() {
    if (const std::shared_ptr<Note> last = started_.lock())
        last->abandoned = true;
    started_.reset();
}
