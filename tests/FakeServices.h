#pragma once

#include "FakeExercise.h"
#include "forms/Form1.h"
#include "help/frmInfo.h"
#include "settings/SettingsStore.h"
#include "settings/frmEinstellungen.h"

#include <QDialog>
#include <QPointer>
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
                .desktop = desktop(),
                .microphone = microphone(),
                .openStatistics = [this](QWidget*) { ++statisticsOpened; }};
    }

    MicrophoneAccess microphone() {
        return {.found =
                    [this](QObject* receiver, std::function<void(bool)> answer) {
                        if (microphoneAnswersAtOnce)
                            answer(microphoneFound);
                        microphoneAnswer = [receiver = QPointer<QObject>(receiver),
                                            answer](bool found) {
                            if (receiver)
                                answer(found);
                        };
                    },
                .watchLevel =
                    [this](std::function<void(float)> level) {
                        auto watch = std::make_unique<QObject>();
                        microphoneLevel = std::move(level);
                        QObject::connect(watch.get(), &QObject::destroyed,
                                         [this] { microphoneLevel = {}; });
                        return watch;
                    }};
    }

    SettingsServices settingsServices() { return {message(), store.get(), microphone()}; }
    InfoServices infoServices() { return {message(), desktop(), QStringLiteral("/opt/virelo")}; }

    std::unique_ptr<SettingsStore> store;
    int dialogsShown = 0;
    std::function<void(QDialog&)> onDialog;
    QList<QStringList> startedPrograms; // program first, then its arguments
    bool programsStart = true;
    QList<QUrl> openedUrls;
    bool urlsOpen = true;
    int statisticsOpened = 0;

    bool microphoneFound = true;
    bool microphoneAnswersAtOnce = true;
    std::function<void(bool)> microphoneAnswer; // a later answer to the last asker
    std::function<void(float)> microphoneLevel; // set while the dialog watches the level
};

// An empty store for every test.
inline void clearStore() {
    QStandardPaths::setTestModeEnabled(true);
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, SettingsApplication);
    settings.clear();
    settings.sync();
}
