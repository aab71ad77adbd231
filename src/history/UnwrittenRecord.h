#pragma once

#include "training/Clef.h"
#include "training/TaskOutcome.h"

#include <QDateTime>
#include <QList>
#include <QMutex>
#include <QUuid>

#include <optional>

// What is known of an exercise when it starts.
struct ExerciseStart {
    QDateTime startedAt;
    Clef clef = Clef::Violin;
    bool earTraining = false;
    int lowest = 0;
    int highest = 0;
    int noteShownMs = 0;
    int timePerNoteHundredths = 0;
    bool keyboardPractice = false;
    int notesPerTask = 1; // each task a phrase of so many notes
};

// A row's id, made once for it, goes with it wherever it is kept: the record skips a row whose id
// it holds, so rows kept beside it are never written twice.
struct RecordedTask {
    TaskOutcome outcome;
    QDateTime endedAt;
    QUuid rowId = {}; // none for rows kept by earlier versions
};

struct ExerciseEnd {
    bool aborted = false;
    int errors = 0;
};

// An exercise with what of it is not yet in the file.
struct UnwrittenExercise {
    qint64 serial = 0; // tells it apart from the others in memory
    ExerciseStart start;
    std::optional<qint64> id; // its row, once written
    QList<RecordedTask> tasks;
    std::optional<ExerciseEnd> end;
    QUuid rowId = {}; // none for rows kept by earlier versions
};

// The rows the exercise has told of that the file does not hold yet: those still on their way to
// the writing thread, and those a busy or lost file kept out. The window's thread adds to them
// and the writing thread takes them out, each holding the lock only for a copy, never across a
// write.
class UnwrittenRecord {
public:
    // Each exercise and task is given its row's id here.
    void begin(const ExerciseStart& start);
    // To the exercise begun last.
    void add(const RecordedTask& task);
    void end(const ExerciseEnd& end);
    // Older exercises, such as those kept from an earlier run, go first.
    void prepend(const QList<UnwrittenExercise>& exercises);

    QList<UnwrittenExercise> copy() const;
    bool isEmpty() const;
    // What `written`, an earlier copy, held is now in the file: its rows are dropped and the ids
    // it was given are kept.
    void written(const QList<UnwrittenExercise>& written);
    void clear();

private:
    mutable QMutex m_mutex;
    QList<UnwrittenExercise> m_exercises;
    qint64 m_nextSerial = 1;
};
