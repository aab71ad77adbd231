#include "MonitorCapture.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <iterator>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

MonitorCapture::MonitorCapture() {
    int pipeEnds[2];
    // Close-on-exec, so no other child started meanwhile holds the pipe open.
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0)
        return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    // Short fragments keep the sink rendering just in time and the arrival times precise.
    const char* arguments[] = {
        "parec",        "--device=test.monitor", "--raw", "--format=s16le", "--rate=48000",
        "--channels=1", "--latency-msec=1",      nullptr};
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, "parec", &actions, nullptr,
                                     const_cast<char* const*>(arguments), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    if (spawned != 0) {
        ::close(pipeEnds[0]);
        return;
    }
    pid_ = pid;
    reader_ = std::thread([this, pipe = pipeEnds[0]] { read(pipe); });
}

MonitorCapture::~MonitorCapture() {
    stop();
}

void MonitorCapture::stop() {
    if (!isRunning())
        return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
    reader_.join();
    pid_ = 0;
}

std::size_t MonitorCapture::firstArrivedAfter(Clock::time_point time) const {
    const auto later = std::upper_bound(
        arrivals_.begin(), arrivals_.end(), time,
        [](Clock::time_point t, const Arrival& arrival) { return t < arrival.time; });
    return later == arrivals_.begin() ? 0 : std::prev(later)->end;
}

MonitorCapture::Clock::time_point MonitorCapture::arrivalOf(std::size_t sample) const {
    const auto containing =
        std::upper_bound(arrivals_.begin(), arrivals_.end(), sample,
                         [](std::size_t s, const Arrival& arrival) { return s < arrival.end; });
    return containing == arrivals_.end() ? Clock::time_point::max() : containing->time;
}

void MonitorCapture::read(int pipe) {
    std::array<char, 4096> buffer;
    std::size_t pending = 0; // a sample split across reads
    for (;;) {
        const ssize_t count = ::read(pipe, buffer.data() + pending, buffer.size() - pending);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            break;
        const Clock::time_point arrived = Clock::now();
        const std::size_t bytes = pending + std::size_t(count);
        for (std::size_t i = 0; i + 1 < bytes; i += 2) {
            const auto low = static_cast<std::uint8_t>(buffer[i]);
            const auto high = static_cast<std::uint8_t>(buffer[i + 1]);
            samples_.push_back(static_cast<std::int16_t>(low | high << 8));
        }
        pending = bytes % 2;
        if (pending != 0)
            buffer[0] = buffer[bytes - 1];
        arrivals_.push_back({samples_.size(), arrived});
    }
    ::close(pipe);
}
