#pragma once

#include "training/NoteNaming.h"
#include "widgets/QtTranslations.h"

#include <optional>

class SettingsStore;

// The language the learner chose: the system's, or one of the program's own.
enum class LanguageChoice { System, German, English };

// The settings of the dialog's group "Sprache und Notennamen". Note names and octaves are
// absent until the learner picks them; until then they follow the language.
struct LanguageSettings {
    LanguageChoice language = LanguageChoice::System;
    std::optional<NoteLetters> letters;
    std::optional<OctaveStyle> octaves;
};

// A value that is absent or not understood reads as the default.
LanguageSettings readLanguageSettings(const SettingsStore& store);
// Each false when the value could not be written.
bool saveLanguageChoice(SettingsStore& store, LanguageChoice language);
bool saveNoteLetters(SettingsStore& store, NoteLetters letters);
bool saveOctaveStyle(SettingsStore& store, OctaveStyle octaves);

// The language shown: the chosen one, or the system's.
Language shownLanguage(LanguageChoice choice, Language system);
// The naming style: as chosen, else the language's own (German: c d e f g a h with c' c'';
// English: C D E F G A B with C4 C5).
NamingStyle namingStyleFor(const LanguageSettings& settings, Language shown);
