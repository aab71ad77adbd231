#pragma once

#include "FakeExercise.h"
#include "forms/Form1.h"
#include "help/frmInfo.h"
#include "settings/SettingsStore.h"
#include "settings/frmEinstellungen.h"

#include <QDialog>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

#include <memory>

// Everything the windows reach outside themselves besides the exercise, recorded or scripted by
// the test.
struct FakeWorld : FakeExerciseWorld {
    FakeWorld() {
        QStandardPaths::setTestModeEnabled(true);
        store = std::make_unique<SettingsStore>();
    }

    MessageFunction message() {
        return [this](QWidget*, const QString& text, const QString& title, MessageIcon icon,
                      const QString& details) {
            messages.append({text, title, icon, details});
            if (onMessage)
                onMessage(messages.last());
        };
    }

    DesktopServices desktop() {
        return {.startProgram =
                    [this](const QString& program, const QStringList& arguments) {
                        startedPrograms.append(QStringList{program} + arguments);
                        return programsStart;
                    },
                .openUrl =
                    [this](const QUrl& url) {
                        openedUrls.append(url);
                        return urlsOpen;
                    }};
    }

    Form1Services services() {
        return {.message = message(),
                .store = store.get(),
                .programDir = QStringLiteral("/opt/virelo"),
                .runModal =
                    [this](QDialog& dialog) {
                        ++dialogsShown;
                        if (onDialog)
                            onDialog(dialog);
                    },
                .desktop = desktop()};
    }

    SettingsServices settingsServices() { return {message(), store.get()}; }
    InfoServices infoServices() { return {message(), desktop(), QStringLiteral("/opt/virelo")}; }

    std::unique_ptr<SettingsStore> store;
    int dialogsShown = 0;
    std::function<void(QDialog&)> onDialog;
    QList<QStringList> startedPrograms; // program first, then its arguments
    bool programsStart = true;
    QList<QUrl> openedUrls;
    bool urlsOpen = true;
};

// An empty store for every test.
inline void clearStore() {
    QStandardPaths::setTestModeEnabled(true);
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, SettingsApplication);
    settings.clear();
    settings.sync();
}
