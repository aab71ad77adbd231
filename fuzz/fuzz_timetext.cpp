// Any text, in any of a few locales, converts to a time that fits, or to nothing.
#include "training/TimeText.h"

#include <array>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    // The first byte picks the locale and the unit; Arabic brings digits of its own.
    static const std::array<QLocale, 4> locales = {
        QLocale(QLocale::German, QLocale::Germany), QLocale::c(),
        QLocale(QLocale::French, QLocale::Switzerland), QLocale(QLocale::Arabic, QLocale::Egypt)};
    const QLocale& locale = locales[data[0] % locales.size()];
    const int factor = data[0] & 0x80 ? 1000 : 100;
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));

    const std::optional<std::int16_t> time = convertTimeText(text, factor, locale);
    if (time && *time < 0)
        std::abort();
    return 0;
}
