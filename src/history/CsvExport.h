#pragma once

class QIODevice;
class QSqlDatabase;

// Every task with its exercise, one row each, as UTF-8 text a spreadsheet opens (semicolons,
// German headings). False when the record could not be read or the device written.
bool writeCsv(const QSqlDatabase& db, QIODevice& device);
