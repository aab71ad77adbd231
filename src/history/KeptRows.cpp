#include "history/KeptRows.h"

#include "history/ClefKey.h"
#include "history/InputKey.h"
#include "training/NoteModel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <algorithm>
#include <cstdlib>

namespace {

QJsonValue optionalValue(const std::optional<int>& value) {
    return value ? QJsonValue(*value) : QJsonValue();
}

QJsonValue noteObject(const SpelledNote& note) {
    return QJsonObject{{QStringLiteral("step"), note.step},
                       {QStringLiteral("alteration"), note.alteration}};
}

// A spelled note kept; rows kept before notes were spelled name the clef's natural one.
std::optional<SpelledNote> noteOf(const QJsonValue& value, Clef clef,
                                  const std::optional<int>& index) {
    if (value.isObject()) {
        const QJsonObject o = value.toObject();
        const int alteration = o.value(QStringLiteral("alteration")).toInt();
        return SpelledNote{o.value(QStringLiteral("step")).toInt(), std::clamp(alteration, -2, 2)};
    }
    return index ? clefNote(clef, *index) : std::nullopt;
}

QJsonObject taskObject(const RecordedTask& task) {
    const TaskOutcome& o = task.outcome;
    return {{QStringLiteral("task"), o.task},
            {QStringLiteral("asked"), o.askedIndex},
            {QStringLiteral("chosen"), optionalValue(o.chosenIndex)},
            {QStringLiteral("right"), o.right},
            {QStringLiteral("answerMs"), o.answerMs},
            {QStringLiteral("input"), o.input ? QJsonValue(inputKey(*o.input)) : QJsonValue()},
            {QStringLiteral("endedAt"), task.endedAt.toMSecsSinceEpoch()},
            {QStringLiteral("key"), o.key.fifths},
            {QStringLiteral("askedNote"), noteObject(o.askedNote)},
            {QStringLiteral("chosenNote"), o.chosenNote ? noteObject(*o.chosenNote) : QJsonValue()},
            {QStringLiteral("spellingJudged"), o.spellingJudged},
            {QStringLiteral("place"), o.place},
            {QStringLiteral("rowId"), task.rowId.toString(QUuid::WithoutBraces)}};
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
        {QStringLiteral("notesPerTask"), s.notesPerTask},
        {QStringLiteral("id"), exercise.id ? QJsonValue(*exercise.id) : QJsonValue()},
        {QStringLiteral("rowId"), exercise.rowId.toString(QUuid::WithoutBraces)},
        {QStringLiteral("tasks"), tasks}};
    if (exercise.end)
        object.insert(QStringLiteral("end"),
                      QJsonObject{{QStringLiteral("aborted"), exercise.end->aborted},
                                  {QStringLiteral("errors"), exercise.end->errors}});
    return object;
}

// Rows kept before phrases are single notes; a count the record would refuse is taken as one.
int notesPerTaskOf(const QJsonValue& value) {
    const int notes = value.toInt(1);
    return notes == 4 || notes == 8 ? notes : 1;
}

QDateTime timeOf(const QJsonValue& value) {
    return QDateTime::fromMSecsSinceEpoch(qint64(value.toDouble()));
}

RecordedTask taskOf(const QJsonObject& o, Clef clef) {
    const QJsonValue chosenValue = o.value(QStringLiteral("chosen"));
    const QJsonValue input = o.value(QStringLiteral("input"));
    const int asked = o.value(QStringLiteral("asked")).toInt();
    const std::optional<int> chosen =
        chosenValue.isDouble() ? std::optional<int>(chosenValue.toInt()) : std::nullopt;
    const int fifths = o.value(QStringLiteral("key")).toInt();
    return {{o.value(QStringLiteral("task")).toInt(), asked, chosen,
             o.value(QStringLiteral("right")).toBool(),
             qint64(o.value(QStringLiteral("answerMs")).toDouble()),
             input.isString() ? inputOfKey(input.toString()) : std::nullopt,
             KeySignature{std::abs(fifths) <= KeySignature::MaxAccidentals ? fifths : 0},
             noteOf(o.value(QStringLiteral("askedNote")), clef, asked).value_or(SpelledNote{}),
             noteOf(o.value(QStringLiteral("chosenNote")), clef, chosen),
             o.value(QStringLiteral("spellingJudged")).toBool(true),
             std::max(0, o.value(QStringLiteral("place")).toInt())},
            timeOf(o.value(QStringLiteral("endedAt"))),
            QUuid::fromString(o.value(QStringLiteral("rowId")).toString())};
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
                      o.value(QStringLiteral("keyboardPractice")).toBool(),
                      notesPerTaskOf(o.value(QStringLiteral("notesPerTask")))};
    const QJsonValue id = o.value(QStringLiteral("id"));
    if (id.isDouble())
        exercise.id = qint64(id.toDouble());
    exercise.rowId = QUuid::fromString(o.value(QStringLiteral("rowId")).toString());
    for (const QJsonValue task : o.value(QStringLiteral("tasks")).toArray())
        exercise.tasks.append(taskOf(task.toObject(), exercise.start.clef));
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
