#include "feedback/SoundFontSearch.h"

#include "feedback/FluidSynthLibrary.h"

#include <QFile>

QStringList standardSoundFonts() {
    return {
        // Debian's alternatives link to whichever General MIDI SoundFont the user prefers.
        QStringLiteral("/usr/share/sounds/sf2/default-GM.sf2"),
        QStringLiteral("/usr/share/sounds/sf2/FluidR3_GM.sf2"),
        QStringLiteral("/usr/share/sounds/sf2/TimGM6mb.sf2"),
        QStringLiteral("/usr/share/sounds/sf3/default-GM.sf3"),
        QStringLiteral("/usr/share/soundfonts/default.sf2"),
        QStringLiteral("/usr/share/soundfonts/FluidR3_GM.sf2"),
    };
}

QString findSoundFont(const QStringList& candidates) {
    const FluidSynthLibrary* fluid = FluidSynthLibrary::get();
    if (!fluid)
        return {};
    for (const QString& candidate : candidates) {
        if (fluid->is_soundfont(QFile::encodeName(candidate).constData()))
            return candidate;
    }
    return {};
}
