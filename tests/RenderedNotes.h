#pragma once

#include <QString>

#include <cstddef>
#include <vector>

typedef struct _fluid_hashtable_t fluid_settings_t;
typedef struct _fluid_synth_t fluid_synth_t;

// A note of a General MIDI instrument as a microphone would hear it played: `leadSeconds` of
// silence, the note held for `heldSeconds`, then its release.
struct InstrumentNote {
    int program = 0;
    int pitch = 60;
    double heldSeconds = 1.0;
    double detune = 0.0; // semitones, within the pitch wheel's default two
};

// Renders such notes as mono samples from a SoundFont loaded once; empty if it did not load.
class NoteRenderer {
public:
    NoteRenderer(const QString& soundFont, double sampleRate);
    ~NoteRenderer();

    NoteRenderer(const NoteRenderer&) = delete;
    NoteRenderer& operator=(const NoteRenderer&) = delete;

    bool isLoaded() const { return loaded_; }
    std::vector<float> render(const InstrumentNote& note, double leadSeconds);

private:
    void renderFor(double seconds, std::vector<float>& mono);

    double sampleRate_;
    fluid_settings_t* settings_;
    fluid_synth_t* synth_;
    bool loaded_ = false;
};

// Mixes pink noise (a fixed sequence) into all of `samples`, `dbBelow` under the loudness of the
// stretch from `from` on that holds the note.
void addPinkNoise(std::vector<float>& samples, std::size_t from, double dbBelow);

// The General MIDI programs learners play or sing with.
namespace instrument {
constexpr int piano = 0;
constexpr int violin = 40;
constexpr int cello = 42;
constexpr int choirAahs = 52;
constexpr int voiceOohs = 53;
constexpr int trumpet = 56;
constexpr int trombone = 57;
constexpr int horn = 60;
constexpr int altoSax = 65;
constexpr int bassoon = 70;
constexpr int clarinet = 71;
constexpr int flute = 73;
constexpr int recorder = 74;
} // namespace instrument

inline const QString largeSoundFont = QStringLiteral("/usr/share/sounds/sf2/FluidR3_GM.sf2");
// Debian's small MuseScore General SoundFont: its cello, clarinet, choir and piano are recordings
// of their own, not FluidR3_GM's.
inline const QString museScoreSoundFont =
    QStringLiteral("/usr/share/sounds/sf3/MuseScore_General_Lite.sf3");
