// Any command line cuts down to a part of itself, and any gives a call that carries the address.
#include "help/MHyperJump.h"

#include <algorithm>
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

    const QString address = QStringLiteral("https://www.virelo.example/");
    const ProgramCall call = browserCall(command, address);
    if (std::none_of(call.arguments.begin(), call.arguments.end(),
                     [&](const QString& argument) { return argument.contains(address); }))
        std::abort();
    return 0;
}
