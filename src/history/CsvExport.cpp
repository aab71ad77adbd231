#include "history/CsvExport.h"

#include "history/ClefKey.h"
#include "training/NoteModel.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QIODevice>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace {

// The file follows the language shown, as does the spreadsheet it is opened in: its headings
// and words, the field separator and the decimal mark (German ";" and ",").
QStringList headings() {
    return {QCoreApplication::translate("CsvExport", "Zeitpunkt"),
            QCoreApplication::translate("CsvExport", "Schlüssel"),
            QCoreApplication::translate("CsvExport", "Art"),
            QCoreApplication::translate("CsvExport", "Eingabe"),
            QCoreApplication::translate("CsvExport", "Gefragt"),
            QCoreApplication::translate("CsvExport", "Gewählt"),
            QCoreApplication::translate("CsvExport", "Richtig"),
            QCoreApplication::translate("CsvExport", "Antwortzeit (ms)"),
            QCoreApplication::translate("CsvExport", "Übung"),
            QCoreApplication::translate("CsvExport", "Übungsbeginn"),
            QCoreApplication::translate("CsvExport", "Tonraum"),
            QCoreApplication::translate("CsvExport", "Zeit pro Note (s)"),
            QCoreApplication::translate("CsvExport", "Note verschwindet nach (s)"),
            QCoreApplication::translate("CsvExport", "Mit Keyboard"),
            QCoreApplication::translate("CsvExport", "Übung beendet"),
            QCoreApplication::translate("CsvExport", "Fehler der Übung")};
}

QChar separator() {
    return QCoreApplication::translate("CsvExport", ";", "field separator").at(0);
}

QString inputName(const QVariant& key) {
    if (key.isNull())
        return QCoreApplication::translate("CsvExport", "Zeit abgelaufen");
    const QString k = key.toString();
    if (k == QLatin1String("buttons"))
        return QCoreApplication::translate("CsvExport", "Schaltfläche");
    if (k == QLatin1String("screen_keyboard"))
        return QCoreApplication::translate("CsvExport", "Bildschirm-Keyboard");
    if (k == QLatin1String("midi"))
        return QStringLiteral("MIDI");
    return QCoreApplication::translate("CsvExport", "Mikrofon");
}

QString outcomeName(const QVariant& outcome) {
    if (outcome.toString() == QLatin1String("finished"))
        return QCoreApplication::translate("CsvExport", "ja");
    if (outcome.toString() == QLatin1String("aborted"))
        return QCoreApplication::translate("CsvExport", "abgebrochen");
    return QCoreApplication::translate("CsvExport", "unterbrochen");
}

QString time(const QVariant& msSinceEpoch) {
    return QDateTime::fromMSecsSinceEpoch(msSinceEpoch.toLongLong())
        .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString seconds(double value) {
    return QString::number(value, 'g', 4)
        .replace(QLatin1Char('.'), QCoreApplication::translate("CsvExport", ",", "decimal mark"));
}

QString yesNo(bool value) {
    return value ? QCoreApplication::translate("CsvExport", "ja")
                 : QCoreApplication::translate("CsvExport", "nein");
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
    QByteArray text =
        QByteArrayLiteral("\xEF\xBB\xBF") + headings().join(separator()).toUtf8() + '\n';
    while (query.next()) {
        const Clef clef = clefOfKey(query.value(1).toString());
        const QStringList row = {
            time(query.value(0)),
            clef == Clef::Bass ? QCoreApplication::translate("CsvExport", "Bassschlüssel")
                               : QCoreApplication::translate("CsvExport", "Violinschlüssel"),
            query.value(2).toBool() ? QCoreApplication::translate("CsvExport", "Gehör-Training")
                                    : QCoreApplication::translate("CsvExport", "Lesen"),
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
        text += row.join(separator()).toUtf8() + '\n';
    }
    return device.write(text) == text.size();
}
