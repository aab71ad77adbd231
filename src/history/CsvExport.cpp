#include "history/CsvExport.h"

#include "history/ClefKey.h"
#include "training/KeyNaming.h"
#include "training/NoteModel.h"
#include "training/NoteNaming.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QIODevice>
#include <QSaveFile>
#include <QSqlDatabase>
#include <QSqlError>
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
            QCoreApplication::translate("CsvExport", "Gefragt (Platz im Notensystem)"),
            QCoreApplication::translate("CsvExport", "Gewählt (Platz im Notensystem)"),
            QCoreApplication::translate("CsvExport", "Richtig"),
            QCoreApplication::translate("CsvExport", "Antwortzeit (ms)"),
            QCoreApplication::translate("CsvExport", "Übung"),
            QCoreApplication::translate("CsvExport", "Übungsbeginn"),
            QCoreApplication::translate("CsvExport", "Tonraum"),
            QCoreApplication::translate("CsvExport", "Zeit pro Note (s)"),
            QCoreApplication::translate("CsvExport", "Note verschwindet nach (s)"),
            QCoreApplication::translate("CsvExport", "Mit Keyboard"),
            QCoreApplication::translate("CsvExport", "Übung beendet"),
            QCoreApplication::translate("CsvExport", "Fehler der Übung"),
            QCoreApplication::translate("CsvExport", "Tonart"),
            QCoreApplication::translate("CsvExport", "Gefragte Note"),
            QCoreApplication::translate("CsvExport", "Gewählte Note"),
            QCoreApplication::translate("CsvExport", "Gefragte Tonhöhe (MIDI)"),
            QCoreApplication::translate("CsvExport", "Gewählte Tonhöhe (MIDI)"),
            QCoreApplication::translate("CsvExport", "Schreibweise bewertet")};
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

// An exercise without an outcome is still running, or was cut off by a crash.
QString outcomeName(const QVariant& outcome) {
    if (outcome.toString() == QLatin1String("finished"))
        return QCoreApplication::translate("CsvExport", "ja");
    if (outcome.toString() == QLatin1String("aborted"))
        return QCoreApplication::translate("CsvExport", "abgebrochen");
    return QCoreApplication::translate("CsvExport", "nein");
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

// A written note from its step and alteration; empty for none.
QString spelledName(const QVariant& step, const QVariant& alteration) {
    if (step.isNull())
        return {};
    return noteName(SpelledNote{step.toInt(), alteration.toInt()});
}

} // namespace

CsvWritten writeCsv(const QSqlDatabase& db, QIODevice& device) {
    // The byte order mark tells spreadsheets that the text is UTF-8.
    const QByteArray top =
        QByteArrayLiteral("\xEF\xBB\xBF") + headings().join(separator()).toUtf8() + '\n';
    if (device.write(top) != top.size())
        return CsvWritten::DeviceFailed;
    if (!db.isOpen())
        return CsvWritten::Yes;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    // The errors of an exercise without an end are those of its tasks so far.
    if (!query.exec(QStringLiteral(
            "SELECT t.ended_at, e.clef, e.ear_training, t.input, t.asked, t.chosen, t.correct,"
            " t.answer_ms, e.id, e.started_at, e.lowest, e.highest, e.time_per_note_cs,"
            " e.note_shown_ms, e.keyboard_practice, e.outcome,"
            " CASE WHEN e.outcome IS NULL THEN (SELECT COUNT(*) FROM task w"
            " WHERE w.exercise_id = e.id AND NOT w.correct) ELSE e.errors END,"
            " t.key_fifths, t.asked_step, t.asked_alteration, t.chosen_step, t.chosen_alteration,"
            " t.asked_pitch, t.chosen_pitch, t.spelling_judged"
            " FROM task t JOIN exercise e ON e.id = t.exercise_id ORDER BY t.id")))
        return CsvWritten::RecordUnreadable;
    while (query.next()) {
        const Clef clef = clefOfKey(query.value(1).toString());
        const QStringList row = {
            time(query.value(0)),
            clefName(clef),
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
            query.value(16).toString(),
            keyName({query.value(17).toInt()}),
            spelledName(query.value(18), query.value(19)),
            spelledName(query.value(20), query.value(21)),
            query.value(22).toString(),
            query.value(23).toString(),
            yesNo(query.value(24).toBool())};
        const QByteArray line = row.join(separator()).toUtf8() + '\n';
        if (device.write(line) != line.size())
            return CsvWritten::DeviceFailed;
    }
    return query.lastError().isValid() ? CsvWritten::RecordUnreadable : CsvWritten::Yes;
}

QString saveCsv(const QSqlDatabase& db, const QString& recordFile, const QString& target) {
    QSaveFile out(target);
    const CsvWritten written =
        out.open(QIODevice::WriteOnly) ? writeCsv(db, out) : CsvWritten::DeviceFailed;
    // The last buffered part is written by flush(); commit() does not report its failure.
    if (written == CsvWritten::Yes && out.flush() && out.error() == QFileDevice::NoError &&
        out.commit())
        return {};
    const QString reason = out.errorString();
    out.cancelWriting();
    if (written == CsvWritten::RecordUnreadable)
        return QCoreApplication::translate("CsvExport",
                                           "Der Übungsverlauf „%1“ kann nicht gelesen werden. "
                                           "„%2“ wurde nicht gespeichert.")
            .arg(QDir::toNativeSeparators(recordFile), QDir::toNativeSeparators(target));
    return QCoreApplication::translate("CsvExport",
                                       "„%1“ konnte nicht gespeichert werden (%2).\nEine Datei, "
                                       "die schon so hieß, bleibt unverändert.")
        .arg(QDir::toNativeSeparators(target), reason);
}
