#include "settings/LanguageSettings.h"

#include "settings/SettingsStore.h"

#include <array>
#include <utility>

namespace {

const QString Section = QStringLiteral("Einstellungen");
const QString LanguageKey = QStringLiteral("Sprache");
const QString LettersKey = QStringLiteral("Notennamen");
const QString OctavesKey = QStringLiteral("Oktaven");

// The stored words, as a learner editing the file by hand would read them.
const std::array<std::pair<LanguageChoice, QString>, 3> LanguageWords = {{
    {LanguageChoice::System, QStringLiteral("System")},
    {LanguageChoice::German, QStringLiteral("Deutsch")},
    {LanguageChoice::English, QStringLiteral("English")},
}};
const std::array<std::pair<NoteLetters, QString>, 3> LetterWords = {{
    {NoteLetters::German, QStringLiteral("deutsch")},
    {NoteLetters::English, QStringLiteral("englisch")},
    {NoteLetters::Solfege, QStringLiteral("Solmisation")},
}};
const std::array<std::pair<OctaveStyle, QString>, 2> OctaveWords = {{
    {OctaveStyle::Helmholtz, QStringLiteral("Helmholtz")},
    {OctaveStyle::Scientific, QStringLiteral("wissenschaftlich")},
}};

template <typename Value, std::size_t N>
std::optional<Value> read(const SettingsStore& store, const QString& key,
                          const std::array<std::pair<Value, QString>, N>& words) {
    const QString stored = store.GetSetting(Section, key);
    for (const auto& [value, word] : words)
        if (word == stored)
            return value;
    return std::nullopt;
}

template <typename Value, std::size_t N>
bool save(SettingsStore& store, const QString& key, Value value,
          const std::array<std::pair<Value, QString>, N>& words) {
    for (const auto& [known, word] : words)
        if (known == value)
            return store.SaveSetting(Section, key, word);
    return false;
}

} // namespace

LanguageSettings readLanguageSettings(const SettingsStore& store) {
    return {read(store, LanguageKey, LanguageWords).value_or(LanguageChoice::System),
            read(store, LettersKey, LetterWords), read(store, OctavesKey, OctaveWords)};
}

bool saveLanguageChoice(SettingsStore& store, LanguageChoice language) {
    return save(store, LanguageKey, language, LanguageWords);
}

bool saveNoteLetters(SettingsStore& store, NoteLetters letters) {
    return save(store, LettersKey, letters, LetterWords);
}

bool saveOctaveStyle(SettingsStore& store, OctaveStyle octaves) {
    return save(store, OctavesKey, octaves, OctaveWords);
}

Language shownLanguage(LanguageChoice choice, Language system) {
    switch (choice) {
    case LanguageChoice::German:
        return Language::German;
    case LanguageChoice::English:
        return Language::English;
    case LanguageChoice::System:
        break;
    }
    return system;
}

NamingStyle namingStyleFor(const LanguageSettings& settings, Language shown) {
    const bool german = shown == Language::German;
    return {settings.letters.value_or(german ? NoteLetters::German : NoteLetters::English),
            settings.octaves.value_or(german ? OctaveStyle::Helmholtz : OctaveStyle::Scientific)};
}
