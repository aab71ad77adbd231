#include "training/NoteNaming.h"

#include <QStringList>

#include <array>
#include <cstdlib>

namespace {

NamingStyle currentStyle;

constexpr int HelmholtzGreatOctave = 2; // C2..B2 are written with capitals, no marks
constexpr int HelmholtzSmallOctave = 3; // c..h, then one apostrophe per octave above

// German names spell the alteration into the word: cis, es, as, b, heses, eis, ces.
QString germanWord(int letter, int alteration) {
    static const std::array<QString, 7> letters = {"c", "d", "e", "f", "g", "a", "h"};
    if (alteration > 0)
        return letters[letter] + QStringLiteral("is").repeated(alteration);
    if (alteration == 0)
        return letters[letter];
    // Flats add "es", but e and a only "s", and B flat is plain "b" (its double flat "heses").
    if (letter == 6)
        return alteration == -1 ? QStringLiteral("b") : QStringLiteral("heses");
    if (letter == 5)
        return alteration == -1 ? QStringLiteral("as") : QStringLiteral("asas");
    if (letter == 2)
        return alteration == -1 ? QStringLiteral("es") : QStringLiteral("eses");
    return letters[letter] + QStringLiteral("es").repeated(-alteration);
}

QString accidentalSigns(int alteration) {
    return alteration > 0 ? QStringLiteral("♯").repeated(alteration)
                          : QStringLiteral("♭").repeated(-alteration);
}

QString baseWord(const SpelledNote& note, NoteLetters letters) {
    static const std::array<QString, 7> english = {"C", "D", "E", "F", "G", "A", "B"};
    static const std::array<QString, 7> solfege = {"do", "re", "mi", "fa", "sol", "la", "si"};
    switch (letters) {
    case NoteLetters::German:
        return germanWord(note.letter(), note.alteration);
    case NoteLetters::English:
        return english[note.letter()] + accidentalSigns(note.alteration);
    case NoteLetters::Solfege:
        return solfege[note.letter()] + accidentalSigns(note.alteration);
    }
    return {};
}

QString capitalised(QString word) {
    if (!word.isEmpty())
        word[0] = word[0].toUpper();
    return word;
}

// Helmholtz marks the octave by case and strokes: C, c, c', c''; below the great octave, commas.
QString helmholtz(const QString& word, int octave) {
    if (octave <= HelmholtzGreatOctave)
        return capitalised(word) + QStringLiteral(",").repeated(HelmholtzGreatOctave - octave);
    return word.toLower() + QStringLiteral("'").repeated(octave - HelmholtzSmallOctave);
}

} // namespace

QString noteName(const SpelledNote& note, NamingStyle style) {
    if (std::abs(note.alteration) > 2)
        return {};
    const QString word = baseWord(note, style.letters);
    if (style.octaves == OctaveStyle::Scientific)
        return capitalised(word) + QString::number(note.octave());
    return helmholtz(word, note.octave());
}

NamingStyle namingStyle() {
    return currentStyle;
}

void setNamingStyle(NamingStyle style) {
    currentStyle = style;
}

QString noteName(const SpelledNote& note) {
    return noteName(note, currentStyle);
}
