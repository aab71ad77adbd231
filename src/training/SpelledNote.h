#pragma once

// A written note: a step of the staff (its letter and octave) and an alteration in semitones.
// Its pitch follows from both; its name from NoteNaming. Steps count white keys from C0, so
// middle C (c', C4) is step 28 and each octave is seven steps.
struct SpelledNote {
    int step = 0;
    int alteration = 0; // -2..+2: double flat .. double sharp

    static constexpr int StepsPerOctave = 7;

    // 0 = C, 1 = D, ... 6 = B, also below C0.
    constexpr int letter() const {
        return ((step % StepsPerOctave) + StepsPerOctave) % StepsPerOctave;
    }
    // The scientific octave of the written step: his (B#3) is in octave 3 though it sounds C4.
    constexpr int octave() const { return (step - letter()) / StepsPerOctave; }
    // The MIDI note it sounds.
    constexpr int midiPitch() const {
        constexpr int semitonesAboveC[StepsPerOctave] = {0, 2, 4, 5, 7, 9, 11};
        return 12 * (octave() + 1) + semitonesAboveC[letter()] + alteration;
    }

    friend constexpr bool operator==(const SpelledNote&, const SpelledNote&) = default;
};
