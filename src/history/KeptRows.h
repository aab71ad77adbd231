#pragma once

#include "history/UnwrittenRecord.h"

#include <QList>
#include <QString>

// Rows the program could not write to the record before it ended (another program held the
// file), kept in a file beside it until the next start writes them.
QString keptRowsFile(const QString& recordFile);
// Replaces what was kept before; false when it could not be saved.
bool keepRows(const QString& recordFile, const QList<UnwrittenExercise>& exercises);
QList<UnwrittenExercise> readKeptRows(const QString& recordFile);
void dropKeptRows(const QString& recordFile);
