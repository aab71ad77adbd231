#pragma once

#include <QStringList>

#include <vector>

// The statements that bring the record from each schema version to the next; the file's
// PRAGMA user_version counts how many of them it has had.
const std::vector<QStringList>& schemaMigrations();
