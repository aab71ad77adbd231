#include "training/KeySignature.h"

#include <array>

namespace {

// Letters 0 = C .. 6 = B in the order their signs are added.
constexpr std::array<int, KeySignature::MaxAccidentals> SharpOrder = {3, 0, 4, 1, 5, 2, 6};
constexpr std::array<int, KeySignature::MaxAccidentals> FlatOrder = {6, 2, 5, 1, 4, 0, 3};

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
