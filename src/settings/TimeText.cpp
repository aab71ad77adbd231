#include "settings/TimeText.h"

#include <cfenv>
#include <cmath>
#include <limits>

std::optional<std::int16_t> convertTimeText(const QString& text, int factor,
                                            const QLocale& locale) {
    bool ok = false;
    const double seconds = locale.toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(seconds) || seconds < 0)
        return std::nullopt;
    // std::nearbyint rounds ties to even in the default rounding mode.
    const double scaled = std::nearbyint(seconds * factor);
    if (scaled > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return std::int16_t(scaled);
}
