#include "HistoryGenerator.h"

#include "history/HistoryStore.h"
#include "training/NoteModel.h"

#include <random>

void generateHistory(const QString& file, int exercises) {
    HistoryStore store(file);
    QList<UnwrittenExercise> written;
    std::mt19937 engine(23);
    std::uniform_int_distribution<int> note(0, NoteCount - 1);
    std::uniform_int_distribution<int> answerMs(400, 3500);
    std::bernoulli_distribution wrong(0.12);
    std::bernoulli_distribution timedOut(0.04);
    const QDateTime yearAgo = QDateTime::currentDateTime().addDays(-365);
    for (int e = 0; e < exercises; ++e) {
        QDateTime at = yearAgo.addSecs(qint64(e) * 365 * 24 * 3600 / exercises);
        const bool bass = e % 2 == 1;
        UnwrittenExercise exercise;
        exercise.serial = e;
        exercise.start = {at,   bass ? Clef::Bass : Clef::Violin, e % 3 == 0, 0, 14, 2000, 400,
                          false};
        int errors = 0;
        for (int task = 1; task <= 25; ++task) {
            TaskOutcome outcome;
            outcome.task = task;
            outcome.askedIndex = note(engine);
            outcome.right = true;
            outcome.answerMs = answerMs(engine);
            outcome.input = AnswerInput::Buttons;
            if (timedOut(engine)) {
                outcome.right = false;
                outcome.answerMs = 4000;
                outcome.input.reset();
            } else if (wrong(engine)) {
                outcome.chosenIndex = (outcome.askedIndex + 1 + note(engine) % 3) % NoteCount;
                outcome.right = false;
            } else {
                outcome.chosenIndex = outcome.askedIndex;
            }
            outcome.askedNote = *clefNote(exercise.start.clef, outcome.askedIndex);
            if (outcome.chosenIndex)
                outcome.chosenNote = clefNote(exercise.start.clef, *outcome.chosenIndex);
            errors += outcome.right ? 0 : 1;
            at = at.addMSecs(outcome.answerMs + 500);
            exercise.tasks.append({outcome, at});
        }
        exercise.end = ExerciseEnd{false, errors};
        written.append(exercise);
    }
    store.write(written);
}
