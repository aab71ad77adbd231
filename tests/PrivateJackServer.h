#pragma once

#include <QProcess>
#include <QString>

// A JACK server of our own with the dummy back end, under a name no other test uses; set as
// JACK_DEFAULT_SERVER for this process and the programs it starts from then on. It runs without
// real-time scheduling, which an ordinary user may not have, at 48 kHz in periods of
// `periodFrames`. Each period waits for every client, for long, so that a client made late by a
// busy machine or the sanitizers gets its MIDI late rather than never.
class PrivateJackServer {
public:
    explicit PrivateJackServer(int periodFrames = 1024);
    ~PrivateJackServer();

    PrivateJackServer(const PrivateJackServer&) = delete;
    PrivateJackServer& operator=(const PrivateJackServer&) = delete;

    // False if jackd is not installed or would not start.
    bool isRunning() const { return running_; }

private:
    QProcess jackd_;
    bool running_ = false;
};
