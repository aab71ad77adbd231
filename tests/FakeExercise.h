#pragma once

#include "training/Exercise.h"
#include "training/ExerciseServices.h"
#include "training/MessageIcon.h"
#include "training/NotePlayer.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

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
        emit soundStarted();
        if (whilePlaying)
            whilePlaying();
        emit soundEnded();
    }
    QStringList played;
    std::function<void()> whilePlaying; // what happens while a note sounds
};

// Everything the exercise reaches outside itself, recorded or scripted by the test, and the
// exercise in it.
struct FakeExerciseWorld {
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
    double randomValue = 0;
    QList<ShownMessage> messages;
    std::function<void(const ShownMessage&)> onMessage;
    Exercise exercise{exerciseServices()};
};
