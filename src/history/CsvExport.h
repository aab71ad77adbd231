#pragma once

#include "training/NoteNaming.h"

#include <QtGlobal>

#include <functional>

class QIODevice;
class QSqlDatabase;
class QString;

enum class CsvWritten { Yes, RecordUnreadable, DeviceFailed, Cancelled };

// Told now and then how many of how many tasks are written; answering false stops the writing.
using CsvProgress = std::function<bool(qint64 written, qint64 total)>;

// Every task with its exercise, one row each, as UTF-8 text a spreadsheet opens (semicolons,
// German headings), notes named in `names`. A database not open stands for a record with
// nothing in it yet.
CsvWritten writeCsv(const QSqlDatabase& db, QIODevice& device, const CsvProgress& progress = {},
                    NamingStyle names = namingStyle());

// Saves the CSV as `target`, replacing a file of that name only once the whole text is on the
// disk; stopped by `progress`, it leaves no file behind and one of that name as it was. What
// went wrong, in German for the learner; empty when saved or stopped.
QString saveCsv(const QSqlDatabase& db, const QString& recordFile, const QString& target,
                const CsvProgress& progress = {}, NamingStyle names = namingStyle());
