#pragma once

#include "feedback/SoundFontSearch.h"
#include "training/NotePlayer.h"

#include <QStringList>
#include <QTimer>

#include <memory>
#include <thread>

// Plays MIDI files through FluidSynth. The library and the SoundFont load on a background thread,
// started by startLoading() or at the latest by the first file. Files play on a sound thread,
// which opens the audio device only while a file plays, so a sound server that hangs holds up
// that thread and never the window. Use from one thread only. The sound is told to have ended
// once the output has closed after the file, which silences what still rings, and has played
// what it held.
class FluidSynthPlayer final : public NotePlayer {
public:
    // Will load the first usable SoundFont among the candidates.
    explicit FluidSynthPlayer(QStringList soundFonts = standardSoundFonts());
    ~FluidSynthPlayer() override;

    FluidSynthPlayer(const FluidSynthPlayer&) = delete;
    FluidSynthPlayer& operator=(const FluidSynthPlayer&) = delete;

    // Blocks the caller, keeping the window painted, until the file has sounded or the sound
    // device is found to hang.
    void playFile(const QString& midiPath) override;
    void playFileTransposed(const QString& midiPath, int semitones) override;
    void startFileTransposed(const QString& midiPath, int semitones) override;
    void playPitches(const std::vector<int>& midiPitches, int msPerNote) override;

    // Starts loading in the background; later calls do nothing.
    void startLoading();

    // Waits for the background load; false if no SoundFont could be loaded.
    bool waitForSoundFont();

private:
    struct Engine;
    struct Note;
    struct SoundThread;

    void startSoundThread();
    // On the window's thread, told by the sound thread.
    void soundBegan();
    void soundDied();
    bool waitForIdleSound();
    // The note, a file checked or a phrase made, played to its end while the window waits.
    void playToEnd(const std::shared_ptr<Note>& note);
    // A file's note for the sound thread, if the SoundFont is loaded and the file is MIDI.
    std::shared_ptr<Note> fileNote(const QString& midiPath, int semitones);
    void cutOffStarted();

    QStringList soundFonts_;
    std::shared_ptr<Engine> engine_;
    std::thread loader_;
    bool loadStarted_ = false;
    // Shared with the sound thread, which outlives the player if the device hangs for good.
    std::shared_ptr<SoundThread> sound_;
    std::thread soundThread_;
    bool soundHangs_ = false;
    bool playing_ = false;
    std::weak_ptr<Note> started_; // the last note started without waiting
    QTimer endReport_;            // runs while the output plays what it held
};
