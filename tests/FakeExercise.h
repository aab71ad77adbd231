#pragma once

#include "training/Exercise.h"
#include "training/ExerciseServices.h"
#include "training/ExerciseSettings.h"
#include "training/MessageIcon.h"
#include "training/NoteModel.h"
#include "training/NotePlayer.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <utility>
#include <vector>

struct ShownMessage {
    QString text;
    QString title;
    MessageIcon icon;
    QString details;
};

class RecordingPlayer : public NotePlayer {
public:
    void playFile(const QString& midiPath) override { playFileTransposed(midiPath, 0); }
    void playFileTransposed(const QString& midiPath, int semitones) override {
        played.append(midiPath);
        shifts.append(semitones);
        emit soundStarted();
        if (whilePlaying)
            whilePlaying();
        emit soundEnded();
    }
    void startFileTransposed(const QString& midiPath, int semitones) override {
        started.append({midiPath, semitones});
    }
    void playPitches(const std::vector<int>& midiPitches, int msPerNote) override {
        phrases.append({midiPitches, msPerNote});
        emit soundStarted();
        if (whilePlaying)
            whilePlaying();
        emit soundEnded();
    }
    QStringList played;
    QList<int> shifts;                               // semitones each played file was moved by
    QList<std::pair<QString, int>> started;          // files started without waiting
    QList<std::pair<std::vector<int>, int>> phrases; // pitches played, and their pace
    std::function<void()> whilePlaying;              // what happens while a note sounds
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
        s.random = [this] {
            return randomScript.isEmpty() ? randomValue : randomScript.takeFirst();
        };
        s.programDir = QStringLiteral("/opt/virelo");
        s.noteRecords = [this](Clef clef, bool, const std::vector<SpelledNote>& notes) {
            ++recordsAsked;
            std::vector<NoteRecord> found;
            for (const SpelledNote& note : notes) {
                const std::optional<int> index = clefIndexOf(clef, note);
                found.push_back(index ? records[std::size_t(*index)]
                                      : alteredRecords[{note.step, note.alteration}]);
            }
            return found;
        };
        return s;
    }

    RecordingPlayer player;
    double randomValue = 0;
    QList<double> randomScript; // drawn first, one per draw, before randomValue
    QList<ShownMessage> messages;
    std::function<void(const ShownMessage&)> onMessage;
    // What the record says of each natural note by index, and of altered notes by step and
    // alteration.
    std::array<NoteRecord, NoteCount> records{};
    std::map<std::pair<int, int>, NoteRecord> alteredRecords;
    int recordsAsked = 0;
    Exercise exercise{exerciseServices()};
};

// An exercise over a range in a world of fakes; nothing waits.
template <typename World> struct ExerciseRun {
    World world;
    ExerciseSettings settings;

    explicit ExerciseRun(Clef clef, int lowest = 0, int highest = 14, int zeitVorbei = 400,
                         int zeitWeg = 2000, bool earTraining = false) {
        ex().chooseMode(clef, earTraining);
        settings = {std::int16_t(lowest), std::int16_t(highest), std::int16_t(zeitWeg),
                    std::int16_t(zeitVorbei), false};
    }
    Exercise& ex() { return world.exercise; }
    void start() { ex().Start(settings); }

    // r that draws `note` from the range.
    void ask(int note) {
        const int size = settings.HöchsterTon - settings.NiedrigsterTon + 1;
        world.randomValue = (note - settings.NiedrigsterTon + 0.5) / size;
    }
};
