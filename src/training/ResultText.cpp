#include "training/ResultText.h"

QString resultText(bool aborted, int errors) {
    if (aborted)
        return QStringLiteral("Du hast die Übung abgebrochen. Es erfolgt keine Wertung.");
    return QStringLiteral("Du hast von 25 Aufgaben ") + QString::number(errors) +
           QStringLiteral(" falsch gemacht.");
}

QString timeOutText(const QString& askedName) {
    return QStringLiteral("Zeit vorbei. Gesucht wurde: ") + askedName +
           QStringLiteral("\n( Leertaste drücken, um diese Meldung zu schließen )");
}
