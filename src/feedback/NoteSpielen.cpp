// Sounding the asked note from the sound files beside the program.
#include "feedback/NotePlayer.h"
#include "training/Form1.h"
#include "training/NoteModel.h"

void Form1::NoteSpielen(std::int16_t note) {
    QString folder;
    if (AusgewählterSchlüssel == ClefBass)
        folder = QStringLiteral("/sound/bass/");
    else if (AusgewählterSchlüssel == ClefViolin)
        folder = QStringLiteral("/sound/violin/");
    if (folder.isEmpty() || !m_services.player)
        return;
    m_services.player->playFile(m_services.programDir + folder + QString::number(note) +
                                QStringLiteral(".mid"));
}
