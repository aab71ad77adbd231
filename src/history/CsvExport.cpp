#include "history/CsvExport.h"

#include "history/ClefKey.h"
#include "training/NoteModel.h"

#include <QDateTime>
#include <QIODevice>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace {

const QStringList Headings = {QStringLiteral("Zeitpunkt"),
                              QStringLiteral("Schlüssel"),
                              QStringLiteral("Art"),
                              QStringLiteral("Eingabe"),
                              QStringLiteral("Gefragt"),
                              QStringLiteral("Gewählt"),
                              QStringLiteral("Richtig"),
                              QStringLiteral("Antwortzeit (ms)"),
                              QStringLiteral("Übung"),
                              QStringLiteral("Übungsbeginn"),
                              QStringLiteral("Tonraum"),
                              QStringLiteral("Zeit pro Note (s)"),
                              QStringLiteral("Note verschwindet nach (s)"),
                              QStringLiteral("Mit Keyboard"),
                              QStringLiteral("Übung beendet"),
                              QStringLiteral("Fehler der Übung")};

QString inputName(const QVariant& key) {
    if (key.isNull())
        return QStringLiteral("Zeit abgelaufen");
    const QString k = key.toString();
    if (k == QLatin1String("buttons"))
        return QStringLiteral("Schaltfläche");
    if (k == QLatin1String("screen_keyboard"))
        return QStringLiteral("Bildschirm-Keyboard");
    if (k == QLatin1String("midi"))
        return QStringLiteral("MIDI");
    return QStringLiteral("Mikrofon");
}

QString outcomeName(const QVariant& outcome) {
    if (outcome.toString() == QLatin1String("finished"))
        return QStringLiteral("ja");
    if (outcome.toString() == QLatin1String("aborted"))
        return QStringLiteral("abgebrochen");
    return QStringLiteral("unterbrochen");
}

QString time(const QVariant& msSinceEpoch) {
    return QDateTime::fromMSecsSinceEpoch(msSinceEpoch.toLongLong())
        .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString seconds(double value) {
    return QString::number(value, 'g', 4).replace(QLatin1Char('.'), QLatin1Char(','));
}

QString yesNo(bool value) {
    return value ? QStringLiteral("ja") : QStringLiteral("nein");
}

} // namespace

bool writeCsv(const QSqlDatabase& db, QIODevice& device) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral(
            "SELECT t.ended_at, e.clef, e.ear_training, t.input, t.asked, t.chosen, t.correct,"
            " t.answer_ms, e.id, e.started_at, e.lowest, e.highest, e.time_per_note_cs,"
            " e.note_shown_ms, e.keyboard_practice, e.outcome, e.errors"
            " FROM task t JOIN exercise e ON e.id = t.exercise_id ORDER BY t.id")))
        return false;
    // The byte order mark tells spreadsheets that the text is UTF-8.
    QByteArray text = QByteArrayLiteral("\xEF\xBB\xBF") + Headings.join(u';').toUtf8() + '\n';
    while (query.next()) {
        const Clef clef = clefOfKey(query.value(1).toString());
        const QStringList row = {
            time(query.value(0)),
            clefName(clef),
            query.value(2).toBool() ? QStringLiteral("Gehör-Training") : QStringLiteral("Lesen"),
            inputName(query.value(3)),
            noteName(clef, query.value(4).toInt()),
            query.value(5).isNull() ? QString() : noteName(clef, query.value(5).toInt()),
            yesNo(query.value(6).toBool()),
            query.value(7).toString(),
            query.value(8).toString(),
            time(query.value(9)),
            noteName(clef, query.value(10).toInt()) + QStringLiteral("–") +
                noteName(clef, query.value(11).toInt()),
            seconds(query.value(12).toInt() / 100.0),
            seconds(query.value(13).toInt() / 1000.0),
            yesNo(query.value(14).toBool()),
            outcomeName(query.value(15)),
            query.value(16).toString()};
        text += row.join(u';').toUtf8() + '\n';
    }
    return device.write(text) == text.size();
}
