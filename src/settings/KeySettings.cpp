#include "settings/KeySettings.h"

#include "settings/SettingsStore.h"

#include <array>
#include <utility>

namespace {

const QString Section = QStringLiteral("Tonart");
const QString KeyKey = QStringLiteral("Tonart");
const QString MostKey = QStringLiteral("HoechstensVorzeichen");
const QString AccidentalsKey = QStringLiteral("Versetzungszeichen");
// Stored in the key's place when every exercise draws its own.
const QString EachExerciseWord = QStringLiteral("jede");

// The stored words, as a learner editing the file by hand would read them.
const std::array<std::pair<OwnAccidentals, QString>, 4> AccidentalWords = {{
    {OwnAccidentals::None, QStringLiteral("keine")},
    {OwnAccidentals::Sharps, QStringLiteral("Kreuz")},
    {OwnAccidentals::Flats, QStringLiteral("Be")},
    {OwnAccidentals::Both, QStringLiteral("Kreuz und Be")},
}};

std::optional<int> mostAccidentalsOf(const QString& text) {
    bool ok = false;
    const int most = text.toInt(&ok);
    if (!ok || most < 0 || most > KeySignature::MaxAccidentals)
        return std::nullopt;
    return most;
}

} // namespace

KeySettings readKeySettings(const SettingsStore& store) {
    KeySettings settings;
    const QString key = store.GetSetting(Section, KeyKey);
    settings.eachExercise = key == EachExerciseWord;
    settings.key = keyOfRecordKey(key).value_or(KeySignature{});
    settings.mostAccidentals = mostAccidentalsOf(store.GetSetting(Section, MostKey))
                                   .value_or(KeySignature::MaxAccidentals);
    const QString accidentals = store.GetSetting(Section, AccidentalsKey);
    for (const auto& [value, word] : AccidentalWords)
        if (word == accidentals)
            settings.accidentals = value;
    return settings;
}

bool saveKeySettings(SettingsStore& store, const KeySettings& settings) {
    const bool savedKey = store.SaveSetting(
        Section, KeyKey, settings.eachExercise ? EachExerciseWord : recordKeyOf(settings.key));
    const bool savedMost =
        store.SaveSetting(Section, MostKey, QString::number(settings.mostAccidentals));
    bool savedAccidentals = false;
    for (const auto& [value, word] : AccidentalWords)
        if (value == settings.accidentals)
            savedAccidentals = store.SaveSetting(Section, AccidentalsKey, word);
    return savedKey && savedMost && savedAccidentals;
}
