// Any file read as a SoundFont gives the piano's view of it or none, and the view holds together:
// its parts lie inside the file, and viewing the bytes it shows gives the same preset tables.
#include "feedback/PianoOnlySoundFont.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    const std::optional<PianoOnlySoundFont> piano = pianoOnlySoundFont(file);
    if (!piano)
        return 0;
    if (piano->pdtaOffset < 12 || piano->restOffset <= piano->pdtaOffset)
        std::abort();
    QByteArray shown = bytes.left(qsizetype(piano->pdtaOffset)) + piano->pdtaChunk;
    if (piano->restOffset < bytes.size())
        shown += bytes.mid(qsizetype(piano->restOffset));
    for (int i = 0; i < 4; ++i)
        shown[4 + i] = char((piano->riffSize >> (8 * i)) & 0xff);
    QBuffer shownFile(&shown);
    shownFile.open(QIODevice::ReadOnly);
    const std::optional<PianoOnlySoundFont> again = pianoOnlySoundFont(shownFile);
    if (!again || again->pdtaChunk != piano->pdtaChunk)
        std::abort();
    return 0;
}
