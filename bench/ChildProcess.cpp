#include "ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

extern char** environ;

namespace {

using namespace std::chrono_literals;

constexpr auto terminateGrace = 2s;

} // namespace

std::optional<pid_t> spawnProgram(const char* program) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    char* argv[] = {const_cast<char*>(program), nullptr};
    pid_t pid = 0;
    const int error = posix_spawn(&pid, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        return std::nullopt;
    return pid;
}

bool exitedWithin(pid_t pid, std::chrono::steady_clock::duration limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return true;
        std::this_thread::sleep_for(10ms);
    }
    return false;
}

void stopProgram(pid_t pid) {
    kill(pid, SIGTERM);
    if (exitedWithin(pid, terminateGrace))
        return;
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}
