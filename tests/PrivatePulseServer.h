#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A PulseAudio daemon of our own, in a private runtime folder. Its default output is a null sink
// named "test", the loudspeaker: tests and benchmarks play into it without needing or disturbing
// the user's sound. Its default recording device "microphone" hears what is played into a second
// null sink, "mic", and nothing of "test".
class PrivatePulseServer {
public:
    PrivatePulseServer();
    ~PrivatePulseServer();

    PrivatePulseServer(const PrivatePulseServer&) = delete;
    PrivatePulseServer& operator=(const PrivatePulseServer&) = delete;

    // False if pulseaudio is not installed or would not start.
    bool isRunning() const { return pid_ > 0; }
    // The value for PULSE_SERVER that makes clients use this daemon.
    QString address() const;
    // Kills the daemon at once, as a crash would, leaving its clients with a dead connection.
    void kill();
    // Stops the daemon in its tracks, as a hung server would be, and lets it go on again.
    void freeze();
    void thaw();
    // Runs pactl on this daemon; false if it failed.
    bool pactl(const QStringList& arguments) const;

private:
    void stop();

    QTemporaryDir runtimeDir_;
    qint64 pid_ = 0;
    bool frozen_ = false;
};
