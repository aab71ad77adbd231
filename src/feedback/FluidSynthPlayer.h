#pragma once

#include "feedback/NotePlayer.h"
#include "feedback/SoundFontSearch.h"

#include <QStringList>

#include <memory>
#include <thread>

// Plays MIDI files through FluidSynth. The library and the SoundFont load on a background thread,
// started by startLoading() or at the latest by the first file; the audio device is opened only
// while a file plays. Use from one thread only.
class FluidSynthPlayer final : public NotePlayer {
public:
    // Will load the first usable SoundFont among the candidates.
    explicit FluidSynthPlayer(QStringList soundFonts = standardSoundFonts());
    ~FluidSynthPlayer() override;

    FluidSynthPlayer(const FluidSynthPlayer&) = delete;
    FluidSynthPlayer& operator=(const FluidSynthPlayer&) = delete;

    // Blocks the caller, keeping the window painted, until the file has sounded.
    void playFile(const QString& midiPath) override;

    // Starts loading in the background; later calls do nothing.
    void startLoading();

    // Waits for the background load; false if no SoundFont could be loaded.
    bool waitForSoundFont();

private:
    struct Engine;

    QStringList soundFonts_;
    std::unique_ptr<Engine> engine_;
    std::thread loader_;
    bool loadStarted_ = false;
    bool playing_ = false;
};
