#pragma once

#include <QLocale>
#include <QString>

#include <cstdint>
#include <optional>

// Seconds typed in the user's locale (digits with at most one decimal point), times the unit
// factor (1000 for milliseconds, 100 for hundredths; a power of ten), rounded to the nearest
// integer with ties to even. Worked on the decimal digits themselves, so that "0,545" is the tie
// it reads as. Nothing for a text that is not such a number or does not fit a 16-bit signed value.
std::optional<std::int16_t> convertTimeText(const QString& text, int factor,
                                            const QLocale& locale = QLocale());
