#pragma once

#include "training/SpelledNote.h"

#include <QString>

#include <optional>

// A major key (and its relative minor) by its place on the circle of fifths: 1..7 sharps,
// -1..-7 flats, 0 none. Its signature is data: the first |fifths| letters of the sharps' order
// f c g d a e h or the flats' order h e a d g c f.
struct KeySignature {
    int fifths = 0;

    static constexpr int MaxAccidentals = 7;

    constexpr int accidentalCount() const { return fifths < 0 ? -fifths : fifths; }
    // The alteration the signature gives a letter (0 = C .. 6 = B): +1, -1 or 0.
    int alterationOfLetter(int letter) const;
    // A step of the staff as the signature spells it: in G major the f line is f sharp.
    SpelledNote spell(int step) const {
        return {step, alterationOfLetter(SpelledNote{step}.letter())};
    }

    friend constexpr bool operator==(const KeySignature&, const KeySignature&) = default;
};

// The letter (0 = C .. 6 = B) of the n-th sign (0-based) of a signature with sharps or flats.
int signatureLetter(bool sharps, int n);

// How the settings store a key: "0", "3", "-7"; none for anything else.
std::optional<KeySignature> keyOfRecordKey(const QString& text);
QString recordKeyOf(KeySignature key);

// Which accidentals of their own the tasks' notes may carry beyond the key signature.
enum class OwnAccidentals { None, Sharps, Flats, Both };
