#include "settings/TypingSettings.h"

#include "settings/SettingsStore.h"

namespace {

const QString Section = QStringLiteral("Antworten");
const QString TypeOctaveKey = QStringLiteral("OktaveTippen");

} // namespace

bool readTypeOctave(const SettingsStore& store) {
    return store.GetSetting(Section, TypeOctaveKey) == QStringLiteral("1");
}

bool saveTypeOctave(SettingsStore& store, bool typeOctave) {
    return store.SaveSetting(Section, TypeOctaveKey,
                             typeOctave ? QStringLiteral("1") : QStringLiteral("0"));
}
