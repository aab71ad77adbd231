#include "training/KeySignature.h"

#include <QCoreApplication>

#include <array>

namespace {

// Letters 0 = C .. 6 = B in the order their signs are added.
constexpr std::array<int, KeySignature::MaxAccidentals> SharpOrder = {3, 0, 4, 1, 5, 2, 6};
constexpr std::array<int, KeySignature::MaxAccidentals> FlatOrder = {6, 2, 5, 1, 4, 0, 3};

// Major and relative minor, from 7 flats to 7 sharps.
constexpr std::array<const char*, 2 * KeySignature::MaxAccidentals + 1> KeyNames = {
    QT_TRANSLATE_NOOP("KeySignature", "Ces-Dur / as-Moll"),
    QT_TRANSLATE_NOOP("KeySignature", "Ges-Dur / es-Moll"),
    QT_TRANSLATE_NOOP("KeySignature", "Des-Dur / b-Moll"),
    QT_TRANSLATE_NOOP("KeySignature", "As-Dur / f-Moll"),
    QT_TRANSLATE_NOOP("KeySignature", "Es-Dur / c-Moll"),
    QT_TRANSLATE_NOOP("KeySignature", "B-Dur / g-Moll"),
    QT_TRANSLATE_NOOP("KeySignature", "F-Dur / d-Moll"),
    QT_TRANSLATE_NOOP("KeySignature", "C-Dur / a-Moll"),
    QT_TRANSLATE_NOOP("KeySignature", "G-Dur / e-Moll"),
    QT_TRANSLATE_NOOP("KeySignature", "D-Dur / h-Moll"),
    QT_TRANSLATE_NOOP("KeySignature", "A-Dur / fis-Moll"),
    QT_TRANSLATE_NOOP("KeySignature", "E-Dur / cis-Moll"),
    QT_TRANSLATE_NOOP("KeySignature", "H-Dur / gis-Moll"),
    QT_TRANSLATE_NOOP("KeySignature", "Fis-Dur / dis-Moll"),
    QT_TRANSLATE_NOOP("KeySignature", "Cis-Dur / ais-Moll"),
};

bool validKey(KeySignature key) {
    return key.fifths >= -KeySignature::MaxAccidentals &&
           key.fifths <= KeySignature::MaxAccidentals;
}

} // namespace

int signatureLetter(bool sharps, int n) {
    return (sharps ? SharpOrder : FlatOrder).at(std::size_t(n));
}

int KeySignature::alterationOfLetter(int letter) const {
    const bool sharps = fifths > 0;
    for (int n = 0; n < accidentalCount() && n < MaxAccidentals; ++n)
        if (signatureLetter(sharps, n) == letter)
            return sharps ? 1 : -1;
    return 0;
}

QString keyName(KeySignature key) {
    if (!validKey(key))
        return {};
    const QString name = QCoreApplication::translate(
        "KeySignature", KeyNames.at(std::size_t(key.fifths + KeySignature::MaxAccidentals)));
    if (key.fifths == 0)
        return QCoreApplication::translate("KeySignature", "%1 (keine Vorzeichen)").arg(name);
    return QCoreApplication::translate("KeySignature", "%1 (%2 %3)")
        .arg(name)
        .arg(key.accidentalCount())
        .arg(key.fifths > 0 ? QStringLiteral("♯") : QStringLiteral("♭"));
}

std::optional<KeySignature> keyOfRecordKey(const QString& text) {
    bool ok = false;
    const int fifths = text.trimmed().toInt(&ok);
    if (!ok || !validKey({fifths}))
        return std::nullopt;
    return KeySignature{fifths};
}

QString recordKeyOf(KeySignature key) {
    return QString::number(key.fifths);
}
