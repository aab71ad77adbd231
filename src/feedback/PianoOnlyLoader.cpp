#include "feedback/PianoOnlyLoader.h"

#include "feedback/FluidSynthLibrary.h"
#include "feedback/PianoOnlySoundFont.h"

#include <QFile>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

namespace {

// General MIDI gives channel 10 a drum kit.
constexpr int drumChannel = 9;

// An open SoundFont and the position in the bytes it shows.
struct ShownFile {
    QFile file;
    std::optional<PianoOnlySoundFont> piano;
    fluid_long_long_t size = 0;
    fluid_long_long_t position = 0;

    // Reads shown bytes from `at` on, up to the end of the part that holds `at`; how many, or -1.
    qint64 readPart(char* out, qint64 count, qint64 at);
};

qint64 ShownFile::readPart(char* out, qint64 count, qint64 at) {
    if (!piano)
        return file.seek(at) ? file.read(out, count) : -1;
    const qint64 tablesEnd = piano->pdtaOffset + piano->pdtaChunk.size();
    if (at >= tablesEnd)
        return file.seek(at - tablesEnd + piano->restOffset) ? file.read(out, count) : -1;
    if (at >= piano->pdtaOffset) {
        const qint64 n = std::min(count, tablesEnd - at);
        std::memcpy(out, piano->pdtaChunk.constData() + (at - piano->pdtaOffset), size_t(n));
        return n;
    }
    const qint64 n = file.seek(at) ? file.read(out, std::min(count, piano->pdtaOffset - at)) : -1;
    // The RIFF header's size, bytes 4 to 7, counts the shorter tables.
    for (qint64 i = std::max<qint64>(at, 4); i < std::min<qint64>(at + n, 8); ++i)
        out[i - at] = char((piano->riffSize >> (8 * (i - 4))) & 0xff);
    return n;
}

void* openShown(const char* filename) {
    auto shown = std::make_unique<ShownFile>();
    shown->file.setFileName(QFile::decodeName(filename));
    if (!shown->file.open(QIODevice::ReadOnly))
        return nullptr;
    shown->piano = pianoOnlySoundFont(shown->file);
    shown->size = shown->file.size();
    if (shown->piano)
        shown->size +=
            shown->piano->pdtaChunk.size() - (shown->piano->restOffset - shown->piano->pdtaOffset);
    return shown.release();
}

int readShown(void* buffer, fluid_long_long_t count, void* handle) {
    auto& shown = *static_cast<ShownFile*>(handle);
    auto* out = static_cast<char*>(buffer);
    if (count < 0 || count > shown.size - shown.position)
        return FLUID_FAILED;
    while (count > 0) {
        const qint64 n = shown.readPart(out, count, shown.position);
        if (n <= 0)
            return FLUID_FAILED;
        out += n;
        count -= n;
        shown.position += n;
    }
    return FLUID_OK;
}

int seekShown(void* handle, fluid_long_long_t offset, int origin) {
    auto& shown = *static_cast<ShownFile*>(handle);
    const fluid_long_long_t base = origin == SEEK_SET   ? 0
                                   : origin == SEEK_CUR ? shown.position
                                                        : shown.size;
    if (base + offset < 0)
        return FLUID_FAILED;
    shown.position = base + offset;
    return FLUID_OK;
}

fluid_long_long_t tellShown(void* handle) {
    return static_cast<ShownFile*>(handle)->position;
}

int closeShown(void* handle) {
    delete static_cast<ShownFile*>(handle);
    return FLUID_OK;
}

} // namespace

void readPianoOnly(fluid_synth_t* synth, fluid_settings_t* settings) {
    const FluidSynthLibrary& fluid = *FluidSynthLibrary::get();
    fluid.synth_set_channel_type(synth, drumChannel, CHANNEL_TYPE_MELODIC);
    fluid.synth_bank_select(synth, drumChannel, 0);
    fluid_sfloader_t* loader = fluid.new_defsfloader(settings);
    if (!loader)
        return;
    fluid.sfloader_set_callbacks(loader, openShown, readShown, seekShown, tellShown, closeShown);
    fluid.synth_add_sfloader(synth, loader);
}
