#pragma once

#include "training/TaskOutcome.h"

#include <QObject>

#include <optional>

class Exercise;
class HistoryStore;

// Writes every task of the exercise to the record as it ends, so that an abort or a crash loses
// at most the task under way.
class TaskRecorder : public QObject {
    Q_OBJECT

public:
    TaskRecorder(Exercise& exercise, HistoryStore& store, QObject* parent = nullptr);

    // Opens the record now rather than at the first exercise; says what went wrong, once.
    void openStore();

signals:
    void recorded();
    // A problem with the record, in German, once a run; never while an exercise runs.
    void notice(const QString& text);

private:
    void exerciseStarted();
    void taskEnded(const TaskOutcome& outcome);
    void exerciseEnded(bool aborted);
    void tellProblem();

    Exercise& m_exercise;
    HistoryStore& m_store;
    std::optional<qint64> m_current; // the exercise under way, when it is recorded
};
