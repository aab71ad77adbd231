// What the main window tells a screen reader beyond its captions: the toggles' and the time
// bar's names, which task of which clef and key the staff shows (never its note), and what a
// wrong answer was.
#include "forms/Form1.h"
#include "training/ClefTable.h"
#include "training/Exercise.h"
#include "training/ExerciseSize.h"
#include "training/KeyNaming.h"

#include <QProgressBar>
#include <QPushButton>

void Form1::nameForScreenReaders() {
    const std::array<QString, 3> toggles = {tr("Erniedrigungszeichen"), tr("Auflösungszeichen"),
                                            tr("Erhöhungszeichen")};
    for (std::size_t i = 0; i < cmdVorzeichen.size(); ++i) {
        cmdVorzeichen[i]->setAccessibleName(toggles[i]);
        cmdVorzeichen[i]->setAccessibleDescription(
            tr("%1 für die nächste Antwort").arg(toggles[i]));
    }
    ProgressBar1->setAccessibleName(tr("verbleibende Zeit"));
    connect(&m_exercise, &Exercise::taskShown, this, &Form1::describeStaff);
    connect(&m_exercise, &Exercise::phraseShown, this, &Form1::describeStaff);
    connect(&m_exercise, &Exercise::mistakeCleared, this, &Form1::describeStaff);
    connect(&m_exercise, &Exercise::ended, this, [this] { setAccessibleDescription({}); });
}

void Form1::describeStaff() {
    QString description = tr("Notenzeile, Aufgabe %1 von %2, %3")
                              .arg(m_exercise.task())
                              .arg(TasksPerExercise)
                              .arg(clefName(m_exercise.clef()));
    if (m_exercise.alteredNotes())
        description += QStringLiteral(", ") + keyName(m_exercise.key());
    setAccessibleDescription(description);
}

// The window holds the focus while a wrong answer shows, so a screen reader reads the change of
// its description: Qt's bridge has no announcement, and drops an alert event.
void Form1::describeMistake(const QString& chosenName, const QString& askedName) {
    setAccessibleDescription(tr("Falsch: %1 gewählt, %2 gesucht").arg(chosenName, askedName));
}
