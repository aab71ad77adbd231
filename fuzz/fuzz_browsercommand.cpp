// Any command line cuts down to a part of itself.
#include "help/MHyperJump.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString command = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString program = cutBrowserCommand(command);
    if (!command.contains(program))
        std::abort();
    // A quoted program is taken without its quotes.
    if (command.startsWith(u'"') && command.indexOf(u'"', 1) > 0 && program.contains(u'"'))
        std::abort();
    return 0;
}
