#include "input/SystemMidiInput.h"

#include "input/InputPort.h"
#include "input/MidiLog.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

// A JACK server that hangs never answers the port's close.
constexpr auto closeWait = std::chrono::seconds(1);

} // namespace

// Kept alive by the port's thread as well, which may outlive the input when the port hangs.
struct SystemMidiInput::Shared {
    std::mutex mutex;
    std::condition_variable changed;
    bool connectWanted = false;
    bool quit = false;
    bool finished = false;
    const Received* received = nullptr;
};

SystemMidiInput::SystemMidiInput() : shared_(std::make_shared<Shared>()) {}

SystemMidiInput::~SystemMidiInput() {
    std::unique_lock lock(shared_->mutex);
    shared_->quit = true;
    shared_->changed.notify_all();
    if (opened_)
        shared_->changed.wait_for(lock, closeWait, [this] { return shared_->finished; });
}

void SystemMidiInput::open(const Received& received) {
    if (opened_)
        return;
    opened_ = true;
    shared_->received = &received;
    std::thread(run, shared_).detach();
}

void SystemMidiInput::connectHardware() {
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->connectWanted = true;
    }
    shared_->changed.notify_all();
}

void SystemMidiInput::run(const std::shared_ptr<Shared>& shared) {
    serve(*shared);
    {
        const std::lock_guard lock(shared->mutex);
        shared->finished = true;
    }
    shared->changed.notify_all();
}

// The port lives and goes here; between requests it waits without a cost. What arrives once the
// input has gone is dropped, as `received` may have gone with it.
void SystemMidiInput::serve(Shared& shared) {
    const MidiLibrary* library = MidiLibrary::get();
    if (!library)
        return;
    const Received gate = [&shared](const unsigned char* bytes, std::size_t size) {
        const std::lock_guard lock(shared.mutex);
        if (!shared.quit)
            (*shared.received)(bytes, size);
    };
    std::unique_ptr<InputPort> port = openAlsaInput(*library, gate);
    if (!port)
        port = openJackInput(*library, gate);
    if (!port) {
        qCInfo(midiLog)
            << "no MIDI input: neither the ALSA sequencer nor a JACK server took a port";
        return;
    }
    std::unique_lock lock(shared.mutex);
    for (;;) {
        shared.changed.wait(lock, [&shared] { return shared.quit || shared.connectWanted; });
        if (shared.quit)
            break;
        shared.connectWanted = false;
        lock.unlock();
        port->connectHardware();
        lock.lock();
    }
    // The port's thread may be waiting for the lock to drop a message.
    lock.unlock();
    port.reset();
}
