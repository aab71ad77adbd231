#include "MicInstruments.h"

#include "RenderedNotes.h"
#include "input/Microphone.h"
#include "input/NoteListener.h"

#include <algorithm>
#include <cstring>

const std::vector<Played>& instruments() {
    static const std::vector<Played> played{
        {"violin", instrument::violin, Group::Strings, {Clef::Violin}, 55, 100, true},
        {"cello", instrument::cello, Group::Strings, {Clef::Bass, Clef::Violin}, 36, 76, true},
        {"flute", instrument::flute, Group::Winds, {Clef::Violin}, 60, 96},
        {"recorder", instrument::recorder, Group::Winds, {Clef::Violin}, 65, 91},
        {"clarinet", instrument::clarinet, Group::Winds, {Clef::Violin}, 50, 91},
        {"bassoon", instrument::bassoon, Group::Winds, {Clef::Bass}, 34, 75},
        {"alto sax", instrument::altoSax, Group::Winds, {Clef::Violin}, 49, 80},
        {"horn", instrument::horn, Group::Winds, {Clef::Violin, Clef::Bass}, 35, 77},
        {"trumpet", instrument::trumpet, Group::Winds, {Clef::Violin}, 52, 82},
        {"trombone", instrument::trombone, Group::Winds, {Clef::Bass}, 40, 72},
        {"choir aahs", instrument::choirAahs, Group::Voices, {Clef::Violin, Clef::Bass}, 36, 84},
        {"voice oohs", instrument::voiceOohs, Group::Voices, {Clef::Violin, Clef::Bass}, 36, 84},
    };
    return played;
}

const Played& instrumentNamed(const char* name) {
    const auto& played = instruments();
    return *std::find_if(played.begin(), played.end(),
                         [&](const Played& one) { return std::strcmp(one.name, name) == 0; });
}

const std::vector<std::pair<const char*, QString>>& soundFonts() {
    static const std::vector<std::pair<const char*, QString>> fonts{
        {"FluidR3_GM", largeSoundFont}, {"MuseScore", museScoreSoundFont}};
    return fonts;
}

double percentile(std::vector<double> values, double share) {
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, std::size_t(share * double(values.size())))];
}

ClefPitches pitchesOf(Clef clef) {
    for (const ClefPitches& pitches : clefPitches())
        if (pitches.clef == clef)
            return pitches;
    return {};
}

std::vector<std::pair<int, std::size_t>> decisions(const std::vector<float>& samples,
                                                   const std::vector<int>& candidates) {
    NoteListener listener(*AubioLibrary::get(), Microphone::sampleRate, candidates);
    std::vector<std::pair<int, std::size_t>> decided;
    for (std::size_t at = 0; at < samples.size(); at += NoteListener::hopSize) {
        const std::size_t end = std::min(samples.size(), at + NoteListener::hopSize);
        listener.feed({samples.data() + at, end - at}, [&](int pitch) {
            decided.push_back({pitch, end});
        });
    }
    return decided;
}
