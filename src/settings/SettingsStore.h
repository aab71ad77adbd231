#pragma once

#include <QString>

#include <memory>
#include <utility>

class QSettings;

// The per-user store of text values, addressed by section and key. An absent key reads as
// the empty text; nothing is ever interpreted here.
class SettingsStore {
public:
    // The user's store: one INI file named after the application in the configuration folder.
    SettingsStore();
    // A store kept in the given INI file.
    explicit SettingsStore(const QString& iniFile);
    ~SettingsStore();

    QString GetSetting(const QString& section, const QString& key) const;
    // Returns false when the value could not be written (read-only or missing folder).
    bool SaveSetting(const QString& section, const QString& key, const QString& text);

    QString fileName() const;
    // True only the first time it is asked after a failed save: the learner is told once.
    bool firstFailedSave() { return !std::exchange(m_failureTold, true); }

private:
    std::unique_ptr<QSettings> m_settings;
    bool m_failureTold = false;
};

inline const QString SettingsApplication = QStringLiteral("virel542");

// Gives an uninitialised store its first-start values; a store whose "Started" marker is the
// number 1 is left alone.
void initialiseOnFirstStart(SettingsStore& store, const QString& programDir);
