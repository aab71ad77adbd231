#include "ProcessUsage.h"

#include <unistd.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace {

std::string procFile(pid_t pid, const char* name) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/" + name);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

} // namespace

std::optional<double> processorSeconds(pid_t pid) {
    const std::string stat = procFile(pid, "stat");
    // The command name may hold spaces and parentheses; the fields after it do not.
    const std::size_t nameEnd = stat.rfind(')');
    if (nameEnd == std::string::npos)
        return std::nullopt;
    std::istringstream fields(stat.substr(nameEnd + 1));
    // After the name: state, then ten more fields before utime and stime.
    std::string skipped;
    for (int i = 0; i < 11; ++i)
        fields >> skipped;
    unsigned long long user = 0;
    unsigned long long system = 0;
    if (!(fields >> user >> system))
        return std::nullopt;
    return double(user + system) / double(sysconf(_SC_CLK_TCK));
}

std::optional<double> peakResidentMegabytes(pid_t pid) {
    std::istringstream status(procFile(pid, "status"));
    std::string line;
    while (std::getline(status, line)) {
        std::istringstream words(line);
        std::string key;
        // The kernel's "kB" are units of 1024 bytes.
        double kibibytes = 0;
        if (words >> key >> kibibytes && key == "VmHWM:")
            return kibibytes * 1024 / 1e6;
    }
    return std::nullopt;
}
