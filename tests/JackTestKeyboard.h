#pragma once

#include <jack/jack.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <vector>

// A JACK client with MIDI outputs that plays the keys the test asks for, as a keyboard's driver
// or a sequencer would: "Tastatur:Ausgang", and on request a port flagged physical, as a
// keyboard's driver offers it.
class JackTestKeyboard {
public:
    using Clock = std::chrono::steady_clock;

    JackTestKeyboard();
    ~JackTestKeyboard();

    JackTestKeyboard(const JackTestKeyboard&) = delete;
    JackTestKeyboard& operator=(const JackTestKeyboard&) = delete;

    bool isOpen() const { return client_ != nullptr; }
    // "Tastatur:Hardware", flagged physical.
    bool plugInHardware();
    std::string outputName() const;
    std::string hardwareName() const;

    // Connects an output to `input` as a patchbay does.
    bool connect(const std::string& output, const std::string& input) const;
    bool connected(const std::string& output, const std::string& input) const;
    bool portExists(const std::string& name) const;

    // Sends at the start of the next period: a key pressed, then released.
    void press(int pitch, bool onHardware = false);
    void send(std::vector<unsigned char> message, bool onHardware = false);
    // When the last message was written to its port.
    Clock::time_point lastSent() const { return Clock::time_point(Clock::duration(sent_.load())); }

private:
    static int process(jack_nframes_t frames, void* self);

    struct Pending {
        std::vector<unsigned char> message;
        bool onHardware;
    };
    jack_client_t* client_ = nullptr;
    jack_port_t* output_ = nullptr;
    std::atomic<jack_port_t*> hardware_ = nullptr;
    std::mutex mutex_;
    std::vector<Pending> pending_;
    std::atomic<Clock::rep> sent_ = 0;
};
