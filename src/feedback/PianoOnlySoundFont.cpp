#include "feedback/PianoOnlySoundFont.h"

#include <QIODevice>

#include <array>
#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace {

// Sizes of the records of the preset tables, in the order the format stores them.
struct Table {
    const char* id;
    int recordSize;
};
constexpr std::array<Table, 9> tables{{{"phdr", 38},
                                       {"pbag", 4},
                                       {"pmod", 10},
                                       {"pgen", 4},
                                       {"inst", 22},
                                       {"ibag", 4},
                                       {"imod", 10},
                                       {"igen", 4},
                                       {"shdr", 46}}};
constexpr int instrumentGenerator = 41;
constexpr int keyRangeGenerator = 43;
constexpr int velocityRangeGenerator = 44;
constexpr int sampleGenerator = 53;
// Samples in ROM; and compressed ones, whose positions count bytes of Ogg Vorbis rather than
// points, and which FluidSynth will not play from the piano's tables alone.
constexpr int romSample = 0x8000;
constexpr int compressedSample = 0x10;
// Points the format asks for between a loop's end and the sample's, and a loop's least length.
constexpr std::uint32_t loopGuard = 8;
constexpr std::uint32_t shortLoop = 32;
// Largest preset tables read: a General MIDI SoundFont has a few megabytes.
constexpr std::uint32_t maxPdtaSize = 64u << 20;

std::uint32_t readU32(const QByteArray& bytes, qsizetype at) {
    const auto byte = [&](qsizetype i) { return std::uint32_t(std::uint8_t(bytes[at + i])); };
    return byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
}

std::uint16_t readU16(const QByteArray& bytes, qsizetype at) {
    return std::uint16_t(std::uint8_t(bytes[at]) | std::uint8_t(bytes[at + 1]) << 8);
}

void appendU16(QByteArray& out, std::uint32_t value) {
    out.append(char(value & 0xff));
    out.append(char((value >> 8) & 0xff));
}

void appendU32(QByteArray& out, std::uint32_t value) {
    appendU16(out, value & 0xffff);
    appendU16(out, value >> 16);
}

void writeU32(QByteArray& bytes, qsizetype at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char((value >> (8 * i)) & 0xff);
}

// One table of records, by index.
struct Records {
    QByteArray bytes;
    int size = 0;

    int count() const { return int(bytes.size() / size); }
    QByteArray record(int index) const { return bytes.mid(qsizetype(index) * size, size); }
    // The 16-bit field at `offset` of a record.
    int field(int index, int offset) const {
        return readU16(bytes, qsizetype(index) * size + offset);
    }
    int byte(int index, int offset) const {
        return std::uint8_t(bytes[qsizetype(index) * size + offset]);
    }
};

// Bag tables give each zone the index of its first generator and first modulator; the zones of a
// preset or instrument run up to the next one's first bag.
struct ZoneCopy {
    QByteArray bags;
    QByteArray generators;
    QByteArray modulators;
    int bagCount = 0;
};

// Whether the zone with generators [first, last) sounds for one of the notes. A zone naming no
// `target` (instrument or sample) holds what its siblings share, and always counts.
bool zoneSounds(const Records& generators, int first, int last, int target,
                const PianoNotes& notes) {
    bool named = false;
    bool keys = true;
    bool velocity = true;
    for (int generator = first; generator < last; ++generator) {
        const int type = generators.field(generator, 0);
        const int low = generators.byte(generator, 2);
        const int high = generators.byte(generator, 3);
        if (type == keyRangeGenerator)
            keys = low <= notes.highestKey && high >= notes.lowestKey;
        else if (type == velocityRangeGenerator)
            velocity = low <= notes.velocity && notes.velocity <= high;
        else if (type == target)
            named = true;
    }
    return !named || (keys && velocity);
}

// Appends those of bags [first, last) that sound for the notes, with their generators and
// modulators, to `out`, renumbered; false if the indices run outside their tables or backwards.
// `rewrite` may change a copied generator.
template <class Rewrite>
bool copyZones(const Records& bags, const Records& generators, const Records& modulators, int first,
               int last, int target, const PianoNotes& notes, ZoneCopy& out, Rewrite rewrite) {
    if (first < 0 || first > last || last >= bags.count())
        return false;
    for (int bag = first; bag < last; ++bag) {
        const int firstGenerator = bags.field(bag, 0);
        const int lastGenerator = bags.field(bag + 1, 0);
        const int firstModulator = bags.field(bag, 2);
        const int lastModulator = bags.field(bag + 1, 2);
        if (firstGenerator > lastGenerator || lastGenerator >= generators.count() ||
            firstModulator > lastModulator || lastModulator >= modulators.count())
            return false;
        if (!zoneSounds(generators, firstGenerator, lastGenerator, target, notes))
            continue;
        appendU16(out.bags, std::uint32_t(out.generators.size() / generators.size));
        appendU16(out.bags, std::uint32_t(out.modulators.size() / modulators.size));
        ++out.bagCount;
        for (int generator = firstGenerator; generator < lastGenerator; ++generator) {
            QByteArray record = generators.record(generator);
            if (!rewrite(record))
                return false;
            out.generators += record;
        }
        for (int modulator = firstModulator; modulator < lastModulator; ++modulator)
            out.modulators += modulators.record(modulator);
    }
    return true;
}

// The sample headers with every sample cut to what the longest note can play of it, since
// FluidSynth reads a sample whole. Within a piano's zones a sample sounds at most about an octave
// above its root, twice as fast, so twice the note's length is kept and a second to spare. A loop
// reaching past the cut moves to the cut's end, which no note reaches.
QByteArray cutSamples(const Records& headers, double longestNoteSeconds) {
    QByteArray cut = headers.bytes;
    const double keptSeconds = 2 * longestNoteSeconds + 1;
    for (int sample = 0; sample + 1 < headers.count(); ++sample) {
        const qsizetype at = qsizetype(sample) * headers.size;
        const std::uint32_t start = readU32(cut, at + 20);
        const std::uint32_t end = readU32(cut, at + 24);
        const std::uint32_t loopEnd = readU32(cut, at + 32);
        const std::uint32_t rate = readU32(cut, at + 36);
        // In doubles: a rate read from a damaged file may make it beyond any sample's length,
        // and a cut too short for the loop it needs leaves the sample as it is.
        const double kept = std::ceil(keptSeconds * rate);
        if ((readU16(cut, at + 44) & romSample) != 0 || end <= start ||
            double(end - start) <= kept || kept < loopGuard + shortLoop)
            continue;
        const std::uint32_t newEnd = start + std::uint32_t(kept);
        writeU32(cut, at + 24, newEnd);
        if (loopEnd + loopGuard > newEnd) {
            writeU32(cut, at + 28, newEnd - loopGuard - shortLoop);
            writeU32(cut, at + 32, newEnd - loopGuard);
        }
    }
    return cut;
}

// Closes a zone copy with the terminal bag, generator and modulator the format requires.
void terminate(ZoneCopy& copy, int generatorSize, int modulatorSize) {
    appendU16(copy.bags, std::uint32_t(copy.generators.size() / generatorSize));
    appendU16(copy.bags, std::uint32_t(copy.modulators.size() / modulatorSize));
    copy.generators += QByteArray(generatorSize, '\0');
    copy.modulators += QByteArray(modulatorSize, '\0');
}

void appendChunk(QByteArray& out, const char* id, const QByteArray& data) {
    out.append(id, 4);
    appendU32(out, std::uint32_t(data.size()));
    out += data;
}

// The piano's preset tables for the notes from the tables of the whole SoundFont; empty if it has
// no piano that sounds them, compressed samples, or tables that do not hold together.
QByteArray pianoTables(const std::map<std::string, Records>& all, const PianoNotes& notes) {
    const Records& samples = all.at("shdr");
    for (int sample = 0; sample + 1 < samples.count(); ++sample)
        if ((samples.field(sample, 44) & compressedSample) != 0)
            return {};
    const Records& presets = all.at("phdr");
    int piano = -1;
    for (int preset = 0; preset + 1 < presets.count() && piano < 0; ++preset) {
        if (presets.field(preset, 20) == 0 && presets.field(preset, 22) == 0)
            piano = preset;
    }
    if (piano < 0)
        return {};

    const Records& instruments = all.at("inst");
    std::vector<int> used; // instruments of the piano, in the order it names them
    std::vector<int> renumbered(std::size_t(instruments.count()), -1);
    ZoneCopy presetZones;
    const bool presetCopied =
        copyZones(all.at("pbag"), all.at("pgen"), all.at("pmod"), presets.field(piano, 24),
                  presets.field(piano + 1, 24), instrumentGenerator, notes, presetZones,
                  [&](QByteArray& generator) {
                      if (readU16(generator, 0) != instrumentGenerator)
                          return true;
                      const int instrument = readU16(generator, 2);
                      if (instrument + 1 >= instruments.count())
                          return false;
                      if (renumbered[std::size_t(instrument)] < 0) {
                          renumbered[std::size_t(instrument)] = int(used.size());
                          used.push_back(instrument);
                      }
                      generator = generator.left(2);
                      appendU16(generator, std::uint32_t(renumbered[std::size_t(instrument)]));
                      return true;
                  });
    if (!presetCopied || used.empty())
        return {};
    terminate(presetZones, 4, 10);

    ZoneCopy instrumentZones;
    QByteArray instrumentHeaders;
    for (int instrument : used) {
        instrumentHeaders += instruments.record(instrument).left(20);
        appendU16(instrumentHeaders, std::uint32_t(instrumentZones.bagCount));
        if (!copyZones(all.at("ibag"), all.at("igen"), all.at("imod"),
                       instruments.field(instrument, 20), instruments.field(instrument + 1, 20),
                       sampleGenerator, notes, instrumentZones, [](QByteArray&) { return true; }))
            return {};
    }
    instrumentHeaders += instruments.record(instruments.count() - 1).left(20);
    appendU16(instrumentHeaders, std::uint32_t(instrumentZones.bagCount));
    terminate(instrumentZones, 4, 10);

    QByteArray presetHeaders = presets.record(piano).left(24);
    appendU16(presetHeaders, 0);
    presetHeaders += presets.record(piano).mid(26);
    presetHeaders += presets.record(presets.count() - 1).left(24);
    appendU16(presetHeaders, std::uint32_t(presetZones.bagCount));
    presetHeaders += presets.record(presets.count() - 1).mid(26);

    QByteArray pdta("pdta");
    appendChunk(pdta, "phdr", presetHeaders);
    appendChunk(pdta, "pbag", presetZones.bags);
    appendChunk(pdta, "pmod", presetZones.modulators);
    appendChunk(pdta, "pgen", presetZones.generators);
    appendChunk(pdta, "inst", instrumentHeaders);
    appendChunk(pdta, "ibag", instrumentZones.bags);
    appendChunk(pdta, "imod", instrumentZones.modulators);
    appendChunk(pdta, "igen", instrumentZones.generators);
    appendChunk(pdta, "shdr", cutSamples(all.at("shdr"), notes.longestSeconds));
    QByteArray chunk;
    appendChunk(chunk, "LIST", pdta);
    return chunk;
}

// The preset tables of a pdta list's contents, each of whole records, at least the terminal one;
// empty if one is missing or malformed.
std::map<std::string, Records> readTables(const QByteArray& pdta) {
    std::map<std::string, Records> found;
    for (qsizetype at = 4; at + 8 <= pdta.size();) {
        const std::string id = pdta.mid(at, 4).toStdString();
        const std::uint32_t size = readU32(pdta, at + 4);
        if (size > std::uint32_t(pdta.size() - at - 8))
            return {};
        found[id].bytes = pdta.mid(at + 8, qsizetype(size));
        at += 8 + qsizetype(size) + qsizetype(size & 1);
    }
    std::map<std::string, Records> result;
    for (const Table& table : tables) {
        const auto it = found.find(table.id);
        if (it == found.end() || it->second.bytes.isEmpty() ||
            it->second.bytes.size() % table.recordSize != 0)
            return {};
        result[table.id] = {it->second.bytes, table.recordSize};
    }
    return result;
}

} // namespace

std::optional<PianoOnlySoundFont> pianoOnlySoundFont(QIODevice& file, const PianoNotes& notes) {
    if (!file.seek(0))
        return std::nullopt;
    const QByteArray header = file.read(12);
    if (header.size() != 12 || !header.startsWith("RIFF") || header.mid(8, 4) != "sfbk")
        return std::nullopt;
    const std::int64_t riffEnd = 8 + std::int64_t(readU32(header, 4));
    for (std::int64_t at = 12; at + 12 <= riffEnd;) {
        if (!file.seek(at))
            return std::nullopt;
        const QByteArray chunk = file.read(12);
        if (chunk.size() != 12)
            return std::nullopt;
        const std::uint32_t size = readU32(chunk, 4);
        const std::int64_t next = at + 8 + size + (size & 1);
        if (chunk.startsWith("LIST") && chunk.mid(8, 4) == "pdta") {
            if (size > maxPdtaSize || next > riffEnd + 1)
                return std::nullopt;
            const QByteArray pdta = file.read(qint64(size) - 4).prepend("pdta");
            if (pdta.size() != qsizetype(size))
                return std::nullopt;
            const std::map<std::string, Records> all = readTables(pdta);
            if (all.empty())
                return std::nullopt;
            PianoOnlySoundFont view;
            view.pdtaChunk = pianoTables(all, notes);
            if (view.pdtaChunk.isEmpty())
                return std::nullopt;
            view.pdtaOffset = at;
            view.restOffset = next;
            view.riffSize = std::uint32_t(riffEnd - 8 - (next - at) + view.pdtaChunk.size());
            return view;
        }
        at = next;
    }
    return std::nullopt;
}
