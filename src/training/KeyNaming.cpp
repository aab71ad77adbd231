#include "training/KeyNaming.h"

#include <QCoreApplication>

namespace {

// The major key's tonic a fifth (four steps) up per sharp; its relative minor's a sixth above.
constexpr int TonicStepsPerFifth = 4;
constexpr int MinorAboveMajor = 5;
constexpr int SmallOctave = 3;

// A key's tonic without its octave, in the style's letters. German names tell major from minor
// by case (Fis-Dur, dis-Moll); English letters and syllables are capitals in both.
QString tonicName(KeySignature key, int stepsAboveMajor, bool minor, NamingStyle style) {
    const int steps = key.fifths * TonicStepsPerFifth + stepsAboveMajor;
    const int letter = (steps % SpelledNote::StepsPerOctave + SpelledNote::StepsPerOctave) %
                       SpelledNote::StepsPerOctave;
    // Helmholtz's small octave has no marks: the bare word, "fis", "f♯", "fa♯".
    const SpelledNote tonic = key.spell(SmallOctave * SpelledNote::StepsPerOctave + letter);
    QString word = noteName(tonic, {style.letters, OctaveStyle::Helmholtz});
    if (!minor || style.letters != NoteLetters::German)
        word[0] = word[0].toUpper();
    return word;
}

} // namespace

QString keyName(KeySignature key, NamingStyle style) {
    if (key.fifths < -KeySignature::MaxAccidentals || key.fifths > KeySignature::MaxAccidentals)
        return {};
    const QString name =
        QCoreApplication::translate("KeySignature", "%1-Dur / %2-Moll")
            .arg(tonicName(key, 0, false, style), tonicName(key, MinorAboveMajor, true, style));
    if (key.fifths == 0)
        return QCoreApplication::translate("KeySignature", "%1 (keine Vorzeichen)").arg(name);
    return QCoreApplication::translate("KeySignature", "%1 (%2 %3)")
        .arg(name)
        .arg(key.accidentalCount())
        .arg(key.fifths > 0 ? QStringLiteral("♯") : QStringLiteral("♭"));
}

QString keyName(KeySignature key) {
    return keyName(key, namingStyle());
}
