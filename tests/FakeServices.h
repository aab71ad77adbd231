#pragma once

#include "feedback/NotePlayer.h"
#include "forms/Form1Services.h"
#include "forms/MessageBox.h"
#include "settings/SettingsStore.h"
#include "training/ExerciseServices.h"

#include <QDialog>
#include <QList>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>

struct ShownMessage {
    QString text;
    QString title;
    MessageIcon icon;
    QString details;
};

class RecordingPlayer : public NotePlayer {
public:
    void playFile(const QString& midiPath) override {
        played.append(midiPath);
        if (whilePlaying)
            whilePlaying();
    }
    QStringList played;
    std::function<void()> whilePlaying; // what happens while a note sounds
};

// Everything the main window reaches outside itself, recorded or scripted by the test.
struct FakeWorld {
    FakeWorld() {
        QStandardPaths::setTestModeEnabled(true);
        store = std::make_unique<SettingsStore>();
    }

    Form1Services services() {
        Form1Services s;
        s.message = [this](QWidget*, const QString& text, const QString& title, MessageIcon icon,
                           const QString& details) {
            messages.append({text, title, icon, details});
            if (onMessage)
                onMessage(messages.last());
        };
        s.player = &player;
        s.random = [this] { return randomValue; };
        s.store = store.get();
        s.programDir = QStringLiteral("/opt/virelo");
        s.runModal = [this](QDialog& dialog) {
            ++dialogsShown;
            if (onDialog)
                onDialog(dialog);
        };
        s.startProgram = [this](const QString& program, const QStringList& arguments) {
            startedPrograms.append(QStringList{program} + arguments);
            return programsStart;
        };
        s.openUrl = [this](const QUrl& url) {
            openedUrls.append(url);
            return urlsOpen;
        };
        s.microphone.found = [this] { return microphoneFound; };
        s.microphone.watchLevel = [this](std::function<void(float)> level) {
            auto watch = std::make_unique<QObject>();
            microphoneLevel = std::move(level);
            QObject::connect(watch.get(), &QObject::destroyed, [this] { microphoneLevel = {}; });
            return watch;
        };
        return s;
    }

    // The same world for an exercise without a window.
    ExerciseServices exerciseServices() {
        ExerciseServices s;
        s.message = [this](const QString& text, MessageIcon icon, const QString& details) {
            messages.append({text, QString(), icon, details});
            if (onMessage)
                onMessage(messages.last());
        };
        s.player = &player;
        s.random = [this] { return randomValue; };
        s.programDir = QStringLiteral("/opt/virelo");
        return s;
    }

    RecordingPlayer player;
    std::unique_ptr<SettingsStore> store;
    double randomValue = 0;
    QList<ShownMessage> messages;
    int dialogsShown = 0;
    std::function<void(QDialog&)> onDialog;
    std::function<void(const ShownMessage&)> onMessage;
    QList<QStringList> startedPrograms; // program first, then its arguments
    bool programsStart = true;
    QList<QUrl> openedUrls;
    bool urlsOpen = true;
    bool microphoneFound = true;
    std::function<void(float)> microphoneLevel; // set while the dialog watches the level
};

// An empty store for every test.
inline void clearStore() {
    QStandardPaths::setTestModeEnabled(true);
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, SettingsApplication);
    settings.clear();
    settings.sync();
}
