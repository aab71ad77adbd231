#include "settings/DisplaySettings.h"

#include "settings/SettingsStore.h"

namespace {

const QString Section = QStringLiteral("Darstellung");
const QString HighContrastKey = QStringLiteral("HoherKontrast");
const QString On = QStringLiteral("1");

} // namespace

bool readHighContrast(const SettingsStore& store) {
    return store.GetSetting(Section, HighContrastKey) == On;
}

bool saveHighContrast(SettingsStore& store, bool on) {
    return store.SaveSetting(Section, HighContrastKey, on ? On : QStringLiteral("0"));
}
