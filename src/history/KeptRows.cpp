#include "history/KeptRows.h"

#include "history/ClefKey.h"
#include "history/InputKey.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace {

QJsonValue optionalValue(const std::optional<int>& value) {
    return value ? QJsonValue(*value) : QJsonValue();
}

QJsonObject taskObject(const RecordedTask& task) {
    const TaskOutcome& o = task.outcome;
    return {{QStringLiteral("task"), o.task},
            {QStringLiteral("asked"), o.asked},
            {QStringLiteral("chosen"), optionalValue(o.chosen)},
            {QStringLiteral("right"), o.right},
            {QStringLiteral("answerMs"), o.answerMs},
            {QStringLiteral("input"), o.input ? QJsonValue(inputKey(*o.input)) : QJsonValue()},
            {QStringLiteral("endedAt"), task.endedAt.toMSecsSinceEpoch()}};
}

QJsonObject exerciseObject(const UnwrittenExercise& exercise) {
    const ExerciseStart& s = exercise.start;
    QJsonArray tasks;
    for (const RecordedTask& task : exercise.tasks)
        tasks.append(taskObject(task));
    QJsonObject object = {
        {QStringLiteral("startedAt"), s.startedAt.toMSecsSinceEpoch()},
        {QStringLiteral("clef"), clefKey(s.clef)},
        {QStringLiteral("earTraining"), s.earTraining},
        {QStringLiteral("lowest"), s.lowest},
        {QStringLiteral("highest"), s.highest},
        {QStringLiteral("noteShownMs"), s.noteShownMs},
        {QStringLiteral("timePerNoteCs"), s.timePerNoteHundredths},
        {QStringLiteral("keyboardPractice"), s.keyboardPractice},
        {QStringLiteral("id"), exercise.id ? QJsonValue(*exercise.id) : QJsonValue()},
        {QStringLiteral("tasks"), tasks}};
    if (exercise.end)
        object.insert(QStringLiteral("end"),
                      QJsonObject{{QStringLiteral("aborted"), exercise.end->aborted},
                                  {QStringLiteral("errors"), exercise.end->errors}});
    return object;
}

QDateTime timeOf(const QJsonValue& value) {
    return QDateTime::fromMSecsSinceEpoch(qint64(value.toDouble()));
}

RecordedTask taskOf(const QJsonObject& o) {
    const QJsonValue chosen = o.value(QStringLiteral("chosen"));
    const QJsonValue input = o.value(QStringLiteral("input"));
    return {{o.value(QStringLiteral("task")).toInt(), o.value(QStringLiteral("asked")).toInt(),
             chosen.isDouble() ? std::optional<int>(chosen.toInt()) : std::nullopt,
             o.value(QStringLiteral("right")).toBool(),
             qint64(o.value(QStringLiteral("answerMs")).toDouble()),
             input.isString() ? inputOfKey(input.toString()) : std::nullopt},
            timeOf(o.value(QStringLiteral("endedAt")))};
}

UnwrittenExercise exerciseOf(const QJsonObject& o) {
    UnwrittenExercise exercise;
    exercise.start = {timeOf(o.value(QStringLiteral("startedAt"))),
                      clefOfKey(o.value(QStringLiteral("clef")).toString()),
                      o.value(QStringLiteral("earTraining")).toBool(),
                      o.value(QStringLiteral("lowest")).toInt(),
                      o.value(QStringLiteral("highest")).toInt(),
                      o.value(QStringLiteral("noteShownMs")).toInt(),
                      o.value(QStringLiteral("timePerNoteCs")).toInt(),
                      o.value(QStringLiteral("keyboardPractice")).toBool()};
    const QJsonValue id = o.value(QStringLiteral("id"));
    if (id.isDouble())
        exercise.id = qint64(id.toDouble());
    for (const QJsonValue task : o.value(QStringLiteral("tasks")).toArray())
        exercise.tasks.append(taskOf(task.toObject()));
    const QJsonValue end = o.value(QStringLiteral("end"));
    if (end.isObject())
        exercise.end = ExerciseEnd{end.toObject().value(QStringLiteral("aborted")).toBool(),
                                   end.toObject().value(QStringLiteral("errors")).toInt()};
    return exercise;
}

} // namespace

QString keptRowsFile(const QString& recordFile) {
    const QFileInfo info(recordFile);
    return info.absoluteDir().filePath(info.completeBaseName() +
                                       QStringLiteral("-ungeschrieben.json"));
}

bool keepRows(const QString& recordFile, const QList<UnwrittenExercise>& exercises) {
    QJsonArray array;
    for (const UnwrittenExercise& exercise : exercises)
        array.append(exerciseObject(exercise));
    QSaveFile out(keptRowsFile(recordFile));
    return out.open(QIODevice::WriteOnly) && out.write(QJsonDocument(array).toJson()) >= 0 &&
           out.flush() && out.commit();
}

QList<UnwrittenExercise> readKeptRows(const QString& recordFile) {
    QFile in(keptRowsFile(recordFile));
    if (!in.open(QIODevice::ReadOnly))
        return {};
    QList<UnwrittenExercise> exercises;
    for (const QJsonValue exercise : QJsonDocument::fromJson(in.readAll()).array())
        exercises.append(exerciseOf(exercise.toObject()));
    return exercises;
}

void dropKeptRows(const QString& recordFile) {
    QFile::remove(keptRowsFile(recordFile));
}
