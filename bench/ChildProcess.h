#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>

// Starting a program with its output discarded, and ending it by signal: the program ignores
// close requests.
std::optional<pid_t> spawnProgram(const char* program);
bool exitedWithin(pid_t pid, std::chrono::steady_clock::duration limit);
void stopProgram(pid_t pid);
