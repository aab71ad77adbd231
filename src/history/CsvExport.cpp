#include "history/CsvExport.h"

#include "history/ClefKey.h"
#include "training/KeyNaming.h"
#include "training/NoteModel.h"
#include "training/NoteNaming.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QHash>
#include <QIODevice>
#include <QSaveFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include <utility>

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
            QCoreApplication::translate("CsvExport", "Schreibweise bewertet"),
            // Last, so that readers of the columns before find them where they were.
            QCoreApplication::translate("CsvExport", "Noten pro Aufgabe"),
            QCoreApplication::translate("CsvExport", "Note in der Aufgabe")};
}

QChar separator() {
    return QCoreApplication::translate("CsvExport", ";", "field separator").at(0);
}

QString inputName(const QString& key) {
    if (key.isNull())
        return QCoreApplication::translate("CsvExport", "Zeit abgelaufen");
    if (key == QLatin1String("buttons"))
        return QCoreApplication::translate("CsvExport", "Schaltfläche");
    if (key == QLatin1String("screen_keyboard"))
        return QCoreApplication::translate("CsvExport", "Bildschirm-Keyboard");
    if (key == QLatin1String("midi"))
        return QStringLiteral("MIDI");
    return QCoreApplication::translate("CsvExport", "Mikrofon");
}

// An exercise without an outcome is still running, or was cut off by a crash.
QString outcomeName(const QString& outcome) {
    if (outcome == QLatin1String("finished"))
        return QCoreApplication::translate("CsvExport", "ja");
    if (outcome == QLatin1String("aborted"))
        return QCoreApplication::translate("CsvExport", "abgebrochen");
    return QCoreApplication::translate("CsvExport", "nein");
}

QString modeName(bool earTraining) {
    return earTraining ? QCoreApplication::translate("CsvExport", "Gehör-Training")
                       : QCoreApplication::translate("CsvExport", "Lesen");
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

// A note of a clef by its index; empty for an index the clef does not have.
QString indexName(Clef clef, int index, NamingStyle names) {
    const std::optional<SpelledNote> note = clefNote(clef, index);
    return note ? noteName(*note, names) : QString();
}

// Names each distinct value once: a record repeats a few notes, keys and words in every row.
template <typename Value> class Names {
public:
    explicit Names(std::function<QString(const Value&)> name) : m_name(std::move(name)) {}
    const QString& operator()(const Value& value) {
        auto found = m_names.constFind(value);
        if (found == m_names.constEnd())
            found = m_names.insert(value, m_name(value));
        return *found;
    }

private:
    std::function<QString(const Value&)> m_name;
    QHash<Value, QString> m_names;
};

// The columns of a task's exercise, named once for all of its tasks.
struct ExerciseColumns {
    qint64 id = -1;
    QString clef, mode, number, started, range, timePerNote, shownFor, keyboard, outcome, errors,
        notesPerTask;
};

qint64 taskCount(const QSqlDatabase& db) {
    QSqlQuery query(db);
    return query.exec(QStringLiteral("SELECT COUNT(*) FROM task")) && query.next()
               ? query.value(0).toLongLong()
               : 0;
}

// How many rows are written between two reports of the progress.
constexpr qint64 ProgressRows = 1000;

} // namespace

CsvWritten writeCsv(const QSqlDatabase& db, QIODevice& device, const CsvProgress& progress,
                    NamingStyle names) {
    // The byte order mark tells spreadsheets that the text is UTF-8.
    const QByteArray top =
        QByteArrayLiteral("\xEF\xBB\xBF") + headings().join(separator()).toUtf8() + '\n';
    if (device.write(top) != top.size())
        return CsvWritten::DeviceFailed;
    if (!db.isOpen())
        return CsvWritten::Yes;
    const qint64 total = progress ? taskCount(db) : 0;
    if (progress && !progress(0, total))
        return CsvWritten::Cancelled;
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
            " t.asked_pitch, t.chosen_pitch, t.spelling_judged, e.notes_per_task, t.place + 1"
            " FROM task t JOIN exercise e ON e.id = t.exercise_id ORDER BY t.id")))
        return CsvWritten::RecordUnreadable;
    const QString yes = yesNo(true);
    const QString no = yesNo(false);
    Names<QString> clefs([](const QString& key) { return clefName(clefOfKey(key)); });
    Names<QString> inputs(inputName);
    Names<QString> outcomes(outcomeName);
    Names<std::pair<int, int>> notes([names](const std::pair<int, int>& note) {
        return indexName(Clef(note.first), note.second, names);
    });
    // A written note by its step and alteration.
    Names<std::pair<int, int>> spelledNotes([names](const std::pair<int, int>& note) {
        return noteName(SpelledNote{note.first, note.second}, names);
    });
    // Empty for no note.
    const auto spelled = [&spelledNotes](const QVariant& step, const QVariant& alteration) {
        return step.isNull() ? QString() : spelledNotes({step.toInt(), alteration.toInt()});
    };
    const QChar fieldSeparator = separator();
    Names<int> keys([names](const int& fifths) { return keyName({fifths}, names); });
    ExerciseColumns exercise;
    qint64 written = 0;
    while (query.next()) {
        const QString clefKey = query.value(1).toString();
        const Clef clef = clefOfKey(clefKey);
        if (const qint64 id = query.value(8).toLongLong(); id != exercise.id) {
            exercise = {id,
                        clefs(clefKey),
                        modeName(query.value(2).toBool()),
                        query.value(8).toString(),
                        time(query.value(9)),
                        notes({int(clef), query.value(10).toInt()}) + QStringLiteral("–") +
                            notes({int(clef), query.value(11).toInt()}),
                        seconds(query.value(12).toInt() / 100.0),
                        seconds(query.value(13).toInt() / 1000.0),
                        query.value(14).toBool() ? yes : no,
                        outcomes(query.value(15).toString()),
                        query.value(16).toString(),
                        query.value(25).toString()};
        }
        const QStringList row = {
            time(query.value(0)),
            exercise.clef,
            exercise.mode,
            inputs(query.value(3).toString()),
            notes({int(clef), query.value(4).toInt()}),
            query.value(5).isNull() ? QString() : notes({int(clef), query.value(5).toInt()}),
            query.value(6).toBool() ? yes : no,
            query.value(7).toString(),
            exercise.number,
            exercise.started,
            exercise.range,
            exercise.timePerNote,
            exercise.shownFor,
            exercise.keyboard,
            exercise.outcome,
            exercise.errors,
            keys(query.value(17).toInt()),
            spelled(query.value(18), query.value(19)),
            spelled(query.value(20), query.value(21)),
            query.value(22).toString(),
            query.value(23).toString(),
            query.value(24).toBool() ? yes : no,
            exercise.notesPerTask,
            query.value(26).toString()};
        const QByteArray line = row.join(fieldSeparator).toUtf8() + '\n';
        if (device.write(line) != line.size())
            return CsvWritten::DeviceFailed;
        if (++written % ProgressRows == 0 && progress && !progress(written, total))
            return CsvWritten::Cancelled;
    }
    return query.lastError().isValid() ? CsvWritten::RecordUnreadable : CsvWritten::Yes;
}

QString saveCsv(const QSqlDatabase& db, const QString& recordFile, const QString& target,
                const CsvProgress& progress, NamingStyle names) {
    QSaveFile out(target);
    const CsvWritten written = out.open(QIODevice::WriteOnly) ? writeCsv(db, out, progress, names)
                                                              : CsvWritten::DeviceFailed;
    // The last buffered part is written by flush(); commit() does not report its failure.
    if (written == CsvWritten::Yes && out.flush() && out.error() == QFileDevice::NoError &&
        out.commit())
        return {};
    const QString reason = out.errorString();
    out.cancelWriting();
    if (written == CsvWritten::Cancelled)
        return {};
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
