#include "training/ResultText.h"

#include "training/ExerciseSize.h"

QString resultText(bool aborted, int errors) {
    if (aborted)
        return QStringLiteral("Du hast die Übung abgebrochen. Es erfolgt keine Wertung.");
    return QStringLiteral("Du hast von %1 Aufgaben ").arg(TasksPerExercise) +
           QString::number(errors) + QStringLiteral(" falsch gemacht.");
}

QString timeOutText(const QString& askedName) {
    return QStringLiteral("Zeit vorbei. Gesucht wurde: ") + askedName +
           QStringLiteral("\n( Leertaste drücken, um diese Meldung zu schließen )");
}
