#pragma once

class QIODevice;
class QSqlDatabase;
class QString;

enum class CsvWritten { Yes, RecordUnreadable, DeviceFailed };

// Every task with its exercise, one row each, as UTF-8 text a spreadsheet opens (semicolons,
// German headings). A database not open stands for a record with nothing in it yet.
CsvWritten writeCsv(const QSqlDatabase& db, QIODevice& device);

// Saves the CSV as `target`, replacing a file of that name only once the whole text is on the
// disk. What went wrong, in German for the learner; empty when saved.
QString saveCsv(const QSqlDatabase& db, const QString& recordFile, const QString& target);
