#include "MicPhrases.h"

#include "MicInstruments.h"
#include "RenderedNotes.h"
#include "Summary.h"
#include "input/HeardNotes.h"
#include "input/Microphone.h"
#include "training/Phrase.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <random>

namespace {

constexpr int phraseLength = 8;
constexpr int phrasesPerInstrument = 10;
// Quarter notes at 100 bpm.
constexpr double beatSeconds = 0.6;
constexpr const char* phraseInstruments[] = {"cello", "flute", "voice oohs"};

struct Articulation {
    const char* name;
    double heldSeconds;
};
// Legato holds each note into the next one's attack, which its release overlaps.
constexpr Articulation articulations[] = {{"legato", beatSeconds}, {"detached", 0.4}};

struct PlayedPhrase {
    Clef clef;
    std::vector<int> pitches; // MIDI notes
};

struct PhraseTally {
    int right = 0;
    int notes = 0;
    int repeatsRight = 0;
    int repeats = 0;            // notes that repeat the one before
    int none = 0;               // nothing decided while the note was the one to answer
    int wrong = 0;              // another note decided first
    std::vector<double> delays; // ms, of the right notes
};

bool repeatsANote(const std::vector<int>& pitches) {
    for (std::size_t note = 1; note < pitches.size(); ++note)
        if (pitches[note] == pitches[note - 1])
            return true;
    return false;
}

// A phrase on the staff places of `clef` that the instrument can sound.
PlayedPhrase drawPlayedPhrase(const Played& played, Clef clef, std::mt19937& engine) {
    const ClefPitches pitches = pitchesOf(clef);
    int lowest = NoteCount;
    int highest = -1;
    for (int place = 0; place < NoteCount; ++place)
        if (pitches.midiNotes[place] >= played.lowest &&
            pitches.midiNotes[place] <= played.highest) {
            lowest = std::min(lowest, place);
            highest = std::max(highest, place);
        }
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    PlayedPhrase phrase{clef, {}};
    for (const int place :
         drawPhrase(phraseLength, lowest, highest, {}, [&] { return uniform(engine); }))
        phrase.pitches.push_back(pitches.midiNotes[std::size_t(place)]);
    return phrase;
}

// Phrases taking the instrument's clefs in turn, the last redrawn until one of them repeats a
// note, so every set hears a repeated note's own attack.
std::vector<PlayedPhrase> drawPlayedPhrases(const Played& played) {
    std::mt19937 engine(7);
    std::vector<PlayedPhrase> phrases;
    bool repeated = false;
    for (int index = 0; index < phrasesPerInstrument; ++index) {
        const Clef clef = played.clefs[std::size_t(index) % played.clefs.size()];
        phrases.push_back(drawPlayedPhrase(played, clef, engine));
        repeated = repeated || repeatsANote(phrases.back().pitches);
    }
    while (!repeated) {
        phrases.back() = drawPlayedPhrase(played, phrases.back().clef, engine);
        repeated = repeatsANote(phrases.back().pitches);
    }
    return phrases;
}

std::size_t onsetOf(int note) {
    return std::size_t((leadSeconds + note * beatSeconds) * Microphone::sampleRate);
}

// The phrase's notes, each rendered on its own, summed at their onsets.
std::vector<float> renderPhrase(const std::vector<int>& pitches,
                                const std::map<int, std::vector<float>>& notes) {
    std::vector<float> mix;
    for (std::size_t note = 0; note < pitches.size(); ++note) {
        const std::vector<float>& sound = notes.at(pitches[note]);
        const std::size_t onset = onsetOf(int(note));
        mix.resize(std::max(mix.size(), onset + sound.size()), 0.0f);
        for (std::size_t sample = 0; sample < sound.size(); ++sample)
            mix[onset + sample] += sound[sample];
    }
    return mix;
}

// Judges each note by the first note decided from its onset until the next one's.
void tallyPhrase(PhraseTally& tally, const PlayedPhrase& phrase, const std::vector<float>& mix) {
    const auto decided = decisions(mix, listenedPitches(phrase.clef, false));
    for (std::size_t note = 0; note < phrase.pitches.size(); ++note) {
        const std::size_t onset = onsetOf(int(note));
        const std::size_t until =
            note + 1 < phrase.pitches.size() ? onsetOf(int(note) + 1) : mix.size();
        const auto first = std::find_if(decided.begin(), decided.end(), [&](const auto& one) {
            return one.second > onset && one.second <= until;
        });
        const bool repeat = note > 0 && phrase.pitches[note] == phrase.pitches[note - 1];
        const bool right = first != decided.end() && first->first == phrase.pitches[note];
        ++tally.notes;
        tally.repeats += repeat;
        if (right) {
            ++tally.right;
            tally.repeatsRight += repeat;
            tally.delays.push_back(1000.0 * double(first->second - onset) / Microphone::sampleRate);
        } else if (first == decided.end()) {
            ++tally.none;
        } else {
            ++tally.wrong;
        }
    }
}

} // namespace

void printPhraseFigures() {
    std::printf("\n%-34s %7s %7s %5s %5s %7s %7s\n", "phrase: instrument, SoundFont, played",
                "right", "repeats", "none", "wrong", "median", "p90");
    PhraseTally all;
    for (const auto& [fontName, file] : soundFonts()) {
        NoteRenderer renderer(file, Microphone::sampleRate);
        if (!renderer.isLoaded()) {
            std::printf("%s is not installed: phrases not measured\n", qPrintable(file));
            return;
        }
        for (const char* name : phraseInstruments) {
            const Played& played = instrumentNamed(name);
            const std::vector<PlayedPhrase> phrases = drawPlayedPhrases(played);
            for (const Articulation& articulation : articulations) {
                std::map<int, std::vector<float>> notes;
                PhraseTally tally;
                for (const PlayedPhrase& phrase : phrases) {
                    for (const int pitch : phrase.pitches)
                        if (!notes.count(pitch))
                            notes[pitch] = renderer.render(
                                {played.program, pitch, articulation.heldSeconds}, 0.0);
                    tallyPhrase(tally, phrase, renderPhrase(phrase.pitches, notes));
                }
                std::printf(
                    "%-34s %3d/%-3d %3d/%-3d %5d %5d %4.0f ms %4.0f ms\n",
                    qPrintable(QStringLiteral("%1, %2, %3").arg(name, fontName, articulation.name)),
                    tally.right, tally.notes, tally.repeatsRight, tally.repeats, tally.none,
                    tally.wrong, percentile(tally.delays, 0.5), percentile(tally.delays, 0.9));
                all.right += tally.right;
                all.notes += tally.notes;
                all.delays.insert(all.delays.end(), tally.delays.begin(), tally.delays.end());
            }
        }
    }
    printFigure("microphone phrase notes right", {100.0 * all.right / std::max(1, all.notes)}, "%",
                2);
    if (!all.delays.empty())
        printFigure("microphone phrase onset to answer judged", all.delays, "ms", 1);
}
