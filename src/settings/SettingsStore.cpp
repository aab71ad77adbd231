#include "settings/SettingsStore.h"

#include <QSettings>

namespace {

QString settingsKey(const QString& section, const QString& key) {
    return section + QLatin1Char('/') + key;
}

bool isNumberOne(const QString& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && value == 1.0;
}

} // namespace

SettingsStore::SettingsStore()
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                             SettingsApplication)) {}

SettingsStore::SettingsStore(const QString& iniFile)
    : m_settings(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::GetSetting(const QString& section, const QString& key) const {
    const QVariant value = m_settings->value(settingsKey(section, key));
    // A hand-edited "0,125" without quotes comes back from the INI parser as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

bool SettingsStore::SaveSetting(const QString& section, const QString& key, const QString& text) {
    m_settings->setValue(settingsKey(section, key), text);
    m_settings->sync();
    // The status keeps the first error met: a damaged file read at the start leaves a
    // FormatError behind, yet the value is written.
    return m_settings->status() != QSettings::AccessError;
}

QString SettingsStore::fileName() const {
    return m_settings->fileName();
}

void initialiseOnFirstStart(SettingsStore& store, const QString& programDir) {
    if (isNumberOne(store.GetSetting(QStringLiteral("Reg"), QStringLiteral("Started"))))
        return;
    store.SaveSetting(QStringLiteral("Reg"), QStringLiteral("Started"), QStringLiteral("1"));
    store.SaveSetting(QStringLiteral("Reg"), QStringLiteral("apppath"), programDir);
    store.SaveSetting(QStringLiteral("Einstellungen"), QStringLiteral("Zeitweg"),
                      QStringLiteral("9"));
    store.SaveSetting(QStringLiteral("Einstellungen"), QStringLiteral("Zeitvorbei"),
                      QStringLiteral("9"));
    store.SaveSetting(QStringLiteral("Einstellungen"), QStringLiteral("ZeitFehlerweg"),
                      QStringLiteral("4"));
}
