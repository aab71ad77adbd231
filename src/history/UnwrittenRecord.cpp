#include "history/UnwrittenRecord.h"

#include <QMutexLocker>

void UnwrittenRecord::begin(const ExerciseStart& start) {
    const QMutexLocker lock(&m_mutex);
    m_exercises.append(
        {m_nextSerial++, start, std::nullopt, {}, std::nullopt, QUuid::createUuid()});
}

void UnwrittenRecord::add(const RecordedTask& task) {
    const QMutexLocker lock(&m_mutex);
    if (m_exercises.isEmpty())
        return;
    m_exercises.last().tasks.append(task);
    m_exercises.last().tasks.last().rowId = QUuid::createUuid();
}

void UnwrittenRecord::end(const ExerciseEnd& end) {
    const QMutexLocker lock(&m_mutex);
    if (!m_exercises.isEmpty())
        m_exercises.last().end = end;
}

void UnwrittenRecord::prepend(const QList<UnwrittenExercise>& exercises) {
    const QMutexLocker lock(&m_mutex);
    QList<UnwrittenExercise> older = exercises;
    for (UnwrittenExercise& exercise : older)
        exercise.serial = m_nextSerial++;
    m_exercises = older + m_exercises;
}

QList<UnwrittenExercise> UnwrittenRecord::copy() const {
    const QMutexLocker lock(&m_mutex);
    return m_exercises;
}

bool UnwrittenRecord::isEmpty() const {
    const QMutexLocker lock(&m_mutex);
    return m_exercises.isEmpty();
}

void UnwrittenRecord::written(const QList<UnwrittenExercise>& written) {
    const QMutexLocker lock(&m_mutex);
    for (const UnwrittenExercise& done : written) {
        const auto it =
            std::find_if(m_exercises.begin(), m_exercises.end(),
                         [&](const UnwrittenExercise& e) { return e.serial == done.serial; });
        if (it == m_exercises.end())
            continue;
        // Nothing is added to an exercise after its end.
        if (done.end) {
            m_exercises.erase(it);
            continue;
        }
        it->id = done.id;
        it->tasks.remove(0, done.tasks.size());
    }
}

void UnwrittenRecord::clear() {
    const QMutexLocker lock(&m_mutex);
    m_exercises.clear();
}
