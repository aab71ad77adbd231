#pragma once

#include "training/ClefTable.h"

#include <QString>

// How a clef is written in the record.
inline QString clefKey(Clef clef) {
    const ClefRow* row = clefRow(clef);
    return QLatin1String(row ? row->recordKey : clefRow(Clef::Violin)->recordKey);
}

inline Clef clefOfKey(const QString& key) {
    return clefOfRecordKey(key).value_or(Clef::Violin);
}
