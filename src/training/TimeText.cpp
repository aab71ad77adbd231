#include "training/TimeText.h"

#include <QtGlobal>

#include <algorithm>
#include <limits>

namespace {

// A number's decimal digits, before and after its decimal point.
struct DecimalDigits {
    QString whole;
    QString fraction;
};

std::optional<DecimalDigits> decimalDigits(const QString& text, const QString& decimalPoint) {
    DecimalDigits digits;
    QString* part = &digits.whole;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (part == &digits.whole && QStringView(text).sliced(i).startsWith(decimalPoint)) {
            part = &digits.fraction;
            i += decimalPoint.size() - 1;
        } else if (text[i].isDigit()) {
            *part += QChar(u'0' + text[i].digitValue());
        } else {
            return std::nullopt;
        }
    }
    if (digits.whole.isEmpty() && digits.fraction.isEmpty())
        return std::nullopt;
    return digits;
}

int decimalPlaces(int factor) {
    int places = 0;
    for (; factor > 1; factor /= 10)
        ++places;
    return places;
}

// Up when the rest is more than half a unit, or exactly half and the value odd.
bool roundsUp(int value, QStringView rest) {
    if (rest.isEmpty() || rest.front() < u'5')
        return false;
    const bool exactlyHalf = rest.front() == u'5' && std::all_of(rest.begin() + 1, rest.end(),
                                                                 [](QChar c) { return c == u'0'; });
    return !exactlyHalf || value % 2 == 1;
}

} // namespace

std::optional<std::int16_t> convertTimeText(const QString& text, int factor,
                                            const QLocale& locale) {
    Q_ASSERT(factor >= 1);
    const std::optional<DecimalDigits> digits =
        decimalDigits(text.trimmed(), locale.decimalPoint());
    if (!digits)
        return std::nullopt;

    // Moving the point by the factor's places splits the digits into the scaled whole number
    // and the rest that decides the rounding.
    const int places = decimalPlaces(factor);
    const QString fraction = digits->fraction.leftJustified(places, u'0');
    QString scaled = digits->whole + fraction.left(places);
    const QString rest = fraction.sliced(places);
    while (scaled.size() > 1 && scaled.front() == u'0')
        scaled.remove(0, 1);
    constexpr int maxDigits = std::numeric_limits<std::int16_t>::digits10 + 1;
    if (scaled.size() > maxDigits)
        return std::nullopt;

    int value = scaled.isEmpty() ? 0 : scaled.toInt();
    if (roundsUp(value, rest))
        ++value;
    if (value > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return std::int16_t(value);
}
