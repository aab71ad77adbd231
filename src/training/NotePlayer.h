#pragma once

#include <QObject>
#include <QString>

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

signals:
    void soundStarted();
    void soundEnded();
};
