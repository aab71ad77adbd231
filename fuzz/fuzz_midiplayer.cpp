// Any bytes as a note file, with no sound server to play them: the player returns, silently.
#include "feedback/FluidSynthPlayer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

struct Setup {
    Setup() {
        // No sound server and no ALSA device, as on a machine without sound.
        qputenv("PULSE_SERVER", "unix:/nonexistent/virelo-fuzz");
        qputenv("ALSA_CONFIG_PATH", "/dev/null");
        if (!dir.isValid())
            std::abort();
        player.waitForSoundFont();
    }
    int argc = 1;
    char name[9] = "fuzzing";
    char* argv[2] = {name, nullptr};
    QCoreApplication app{argc, argv};
    // Each input is written anew: keep the file in memory where there is a memory file system.
    QTemporaryDir dir{(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                                 : QDir::tempPath()) +
                      QStringLiteral("/virelo-fuzz-XXXXXX")};
    FluidSynthPlayer player;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Setup setup;
    QFile file(setup.dir.filePath(QStringLiteral("note.mid")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    file.close();
    setup.player.playFile(file.fileName());
    return 0;
}
