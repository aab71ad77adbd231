#include "training/NoteFile.h"

#include "training/NoteModel.h"

QString noteFile(const QString& programDir, Clef clef, int note) {
    QString folder;
    if (clef == Clef::Bass)
        folder = QStringLiteral("/sound/bass/");
    else if (clef == Clef::Violin)
        folder = QStringLiteral("/sound/violin/");
    if (folder.isEmpty())
        return {};
    return programDir + folder + QString::number(note) + QStringLiteral(".mid");
}
