#pragma once

#include <QProcess>
#include <QString>

// A JACK server of our own with the dummy back end, under a name no other test uses; set as
// JACK_DEFAULT_SERVER for this process and the programs it starts from then on.
class PrivateJackServer {
public:
    PrivateJackServer();
    ~PrivateJackServer();

    PrivateJackServer(const PrivateJackServer&) = delete;
    PrivateJackServer& operator=(const PrivateJackServer&) = delete;

    // False if jackd is not installed or would not start.
    bool isRunning() const { return running_; }

private:
    QProcess jackd_;
    bool running_ = false;
};
