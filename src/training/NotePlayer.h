#pragma once

#include <QObject>
#include <QString>

#include <vector>

// Plays one MIDI file and returns when it has sounded to its end.
// Every failure (no sound device, no SoundFont, missing or broken file) returns at once, silently.
// It tells when its sound starts and when that sound, release included, has died away, which may
// be after playFile has returned; a note that starts before the last one's end was told continues
// that sound.
class NotePlayer : public QObject {
    Q_OBJECT

public:
    virtual void playFile(const QString& midiPath) = 0;
    // The file with every note moved by `semitones`: an altered note sounds as its natural's
    // file shifted, as there are files of the natural notes only.
    virtual void playFileTransposed(const QString& midiPath, int semitones) = 0;
    // Starts the file, moved by `semitones`, and returns at once: an answer sounding while the
    // learner reads on. It cuts off a file started so before; while a file plays to its end,
    // it is not played.
    virtual void startFileTransposed(const QString& midiPath, int semitones) = 0;
    // Plays the MIDI pitches one after another, a note every `msPerNote`, and returns when they
    // have sounded, as playFile does: a phrase heard before it is answered.
    virtual void playPitches(const std::vector<int>& midiPitches, int msPerNote) = 0;

signals:
    void soundStarted();
    void soundEnded();
};
