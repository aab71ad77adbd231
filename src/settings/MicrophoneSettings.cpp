#include "settings/MicrophoneSettings.h"

#include "settings/SettingsStore.h"

namespace {

const QString Section = QStringLiteral("Einstellungen");
const QString AnswerKey = QStringLiteral("Mikrofon");
const QString AnyOctaveKey = QStringLiteral("OktaveFrei");

QString flag(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

MicrophoneSettings readMicrophoneSettings(const SettingsStore& store) {
    return {store.GetSetting(Section, AnswerKey) == flag(true),
            store.GetSetting(Section, AnyOctaveKey) == flag(true)};
}

bool saveMicrophoneSettings(SettingsStore& store, const MicrophoneSettings& settings) {
    const bool savedAnswer = store.SaveSetting(Section, AnswerKey, flag(settings.answer));
    const bool savedOctave = store.SaveSetting(Section, AnyOctaveKey, flag(settings.anyOctave));
    return savedAnswer && savedOctave;
}
