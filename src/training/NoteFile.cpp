#include "training/NoteFile.h"

#include "training/NoteModel.h"

QString noteFile(const QString& programDir, const QString& clef, int note) {
    QString folder;
    if (clef == ClefBass)
        folder = QStringLiteral("/sound/bass/");
    else if (clef == ClefViolin)
        folder = QStringLiteral("/sound/violin/");
    if (folder.isEmpty())
        return {};
    return programDir + folder + QString::number(note) + QStringLiteral(".mid");
}
