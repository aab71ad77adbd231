#pragma once

#include <QProcess>
#include <QString>

// A JACK server of our own with the dummy back end, under one name per user and test program;
// set as JACK_DEFAULT_SERVER for this process and the programs it starts from then on. Suites of
// other build trees may run beside it. JACK has few server slots and keeps a dead server's until
// a server of its name starts, so a run that was killed leaves no slot behind for good; the
// server dies with this process. It runs without
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
    // Stops the server as if it hung: it neither answers nor goes, until it is stopped.
    void hang();

private:
    QProcess jackd_;
    bool running_ = false;
};
