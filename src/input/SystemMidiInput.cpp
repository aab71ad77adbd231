#include "input/SystemMidiInput.h"

#include "input/InputPort.h"
#include "input/MidiLog.h"

SystemMidiInput::~SystemMidiInput() {
    {
        const std::lock_guard lock(mutex_);
        quit_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

void SystemMidiInput::open(const Received& received) {
    if (!thread_.joinable())
        thread_ = std::thread([this, &received] { run(received); });
}

void SystemMidiInput::connectHardware() {
    {
        const std::lock_guard lock(mutex_);
        connectWanted_ = true;
    }
    changed_.notify_all();
}

// The port lives and goes on this thread; between requests it waits without a cost.
void SystemMidiInput::run(const Received& received) {
    const MidiLibrary* library = MidiLibrary::get();
    if (!library)
        return;
    std::unique_ptr<InputPort> port = openAlsaInput(*library, received);
    if (!port)
        port = openJackInput(*library, received);
    if (!port) {
        qCInfo(midiLog)
            << "no MIDI input: neither the ALSA sequencer nor a JACK server took a port";
        return;
    }
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return quit_ || connectWanted_; });
        if (quit_)
            return;
        connectWanted_ = false;
        lock.unlock();
        port->connectHardware();
        lock.lock();
    }
}
