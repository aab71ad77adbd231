#pragma once

#include <QString>
#include <QStringList>

// General MIDI SoundFonts where Linux distributions install them, most preferred first.
QStringList standardSoundFonts();

// The first candidate that is a readable SoundFont, or an empty string if there is none.
QString findSoundFont(const QStringList& candidates);
