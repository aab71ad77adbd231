#pragma once

#include "training/Clef.h"

#include <QString>

// How a clef is written in the record.
inline QString clefKey(Clef clef) {
    return clef == Clef::Bass ? QStringLiteral("Bass") : QStringLiteral("Violin");
}

inline Clef clefOfKey(const QString& key) {
    return key == QLatin1String("Bass") ? Clef::Bass : Clef::Violin;
}
