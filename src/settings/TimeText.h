#pragma once

#include <QLocale>
#include <QString>

#include <cstdint>
#include <optional>

// Seconds typed in the user's locale, times the unit factor (1000 for milliseconds, 100 for
// hundredths), rounded to the nearest integer with ties to even. Nothing for a text that is not
// a number, is negative, or does not fit a 16-bit signed value.
std::optional<std::int16_t> convertTimeText(const QString& text, int factor,
                                            const QLocale& locale = QLocale());
