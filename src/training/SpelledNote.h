#pragma once

#include <array>
#include <optional>

// A written note: a step of the staff (its letter and octave) and an alteration in semitones.
// Its pitch follows from both; its name from NoteNaming. Steps count white keys from C0, so
// middle C (c', C4) is step 28 and each octave is seven steps.
struct SpelledNote {
    int step = 0;
    int alteration = 0; // -2..+2: double flat .. double sharp

    static constexpr int StepsPerOctave = 7;
    static constexpr int SemitonesPerOctave = 12;
    // The one table of the letters' pitches: C D E F G A B above their octave's C.
    static constexpr std::array<int, StepsPerOctave> SemitonesAboveC = {0, 2, 4, 5, 7, 9, 11};

    // 0 = C, 1 = D, ... 6 = B, also below C0.
    constexpr int letter() const {
        return ((step % StepsPerOctave) + StepsPerOctave) % StepsPerOctave;
    }
    // The scientific octave of the written step: his (B#3) is in octave 3 though it sounds C4.
    constexpr int octave() const { return (step - letter()) / StepsPerOctave; }
    // The MIDI note it sounds.
    constexpr int midiPitch() const {
        return SemitonesPerOctave * (octave() + 1) + SemitonesAboveC.at(std::size_t(letter())) +
               alteration;
    }

    // The natural note (a white key) that sounds a MIDI pitch; none for a black key.
    static constexpr std::optional<SpelledNote> naturalOf(int midiPitch) {
        const int pitchClass =
            ((midiPitch % SemitonesPerOctave) + SemitonesPerOctave) % SemitonesPerOctave;
        const int octave = (midiPitch - pitchClass) / SemitonesPerOctave - 1;
        for (int letter = 0; letter < StepsPerOctave; ++letter)
            if (SemitonesAboveC.at(std::size_t(letter)) == pitchClass)
                return SpelledNote{octave * StepsPerOctave + letter, 0};
        return std::nullopt;
    }

    friend constexpr bool operator==(const SpelledNote&, const SpelledNote&) = default;
};
