#pragma once

#include <QDir>
#include <QFile>
#include <QString>

// Copies a folder with everything in it; false at the first thing that would not copy.
inline bool copyFolder(const QString& from, const QString& to) {
    if (!QDir().mkpath(to))
        return false;
    const QDir source(from);
    for (const QString& name : source.entryList(QDir::Files))
        if (!QFile::copy(source.filePath(name), to + QLatin1Char('/') + name))
            return false;
    for (const QString& name : source.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (!copyFolder(source.filePath(name), to + QLatin1Char('/') + name))
            return false;
    return true;
}
