#include "training/ResultText.h"

#include "training/ExerciseSize.h"

#include <QCoreApplication>

QString resultText(bool aborted, int errors, int notesPerTask) {
    if (aborted)
        return QCoreApplication::translate(
            "ResultText", "Du hast die Übung abgebrochen. Es erfolgt keine Wertung.");
    if (notesPerTask > 1)
        return QCoreApplication::translate("ResultText", "Du hast von %1 Noten %2 falsch gemacht.")
            .arg(TasksPerExercise * notesPerTask)
            .arg(errors);
    return QCoreApplication::translate("ResultText", "Du hast von %1 Aufgaben %2 falsch gemacht.")
        .arg(TasksPerExercise)
        .arg(errors);
}

QString timeOutText(const QString& askedName) {
    return QCoreApplication::translate("ResultText",
                                       "Zeit vorbei. Gesucht wurde: %1\n( Leertaste drücken, um "
                                       "diese Meldung zu schließen )")
        .arg(askedName);
}
