#pragma once

#include <sys/types.h>

#include <optional>

// What the kernel has counted for a running process; nothing once it is gone.
// Processor time used so far by all its threads, user and system, in seconds.
std::optional<double> processorSeconds(pid_t pid);
// Its peak resident memory so far, in megabytes of 10^6 bytes.
std::optional<double> peakResidentMegabytes(pid_t pid);
