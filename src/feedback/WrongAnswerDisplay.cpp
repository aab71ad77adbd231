// Showing a wrong answer for three seconds: the chosen note red beside the asked note green.
#include "forms/BackColor.h"
#include "training/Form1.h"
#include "training/NoteModel.h"

#include <QPushButton>
#include <QTimer>

namespace {

constexpr int DisplayMs = 3000;

} // namespace

void Form1::NoteFalschAnzeigen(std::int16_t gefragt, std::int16_t gewaehlt) {
    tmrNoteFalsch->start(DisplayMs);
    shpNote.BackColor = VbColor::Green;
    shpNoteFalsch.Visible = true;
    shpNote.Visible = true;
    if (UebenMitKeyboard) {
        markKey(gewaehlt, VbColor::Red);
        markKey(gefragt, VbColor::Green);
    }

    const std::array<QPushButton*, 15>* row = nullptr;
    if (AusgewählterSchlüssel == ClefBass)
        row = &cmdNoteBass;
    else if (AusgewählterSchlüssel == ClefViolin)
        row = &cmdNoteViolin;
    if (row) {
        setBackColor((*row)[gewaehlt], VbColor::Red);
        setBackColor((*row)[gefragt], VbColor::Green);
        for (QPushButton* button : *row)
            button->setEnabled(false);
    }
    placeNote(shpNoteFalsch, Column::Chosen, staffStep(AusgewählterSchlüssel, gewaehlt));
    update();
}

void Form1::tmrNoteFalsch_Timer() {
    // Each display ends once; after an abort there is nothing left to end.
    if (!tmrNoteFalsch->isActive())
        return;
    for (int i = 0; i < NoteCount; ++i) {
        setBackColor(cmdNoteViolin[i], VbColor::White);
        setBackColor(cmdNoteBass[i], VbColor::White);
        if (AusgewählterSchlüssel == ClefViolin)
            cmdNoteViolin[i]->setEnabled(true);
        else
            cmdNoteBass[i]->setEnabled(true);
        if (UebenMitKeyboard)
            markKey(i, VbColor::White);
    }
    shpNote.BackColor = VbColor::White;
    shpNoteFalsch.Visible = false;
    hideLedgerLines(0, 13);
    tmrNoteFalsch->stop();
    update();
    NaechsteAufgabe();
}

void Form1::resetAnswerColours() {
    for (int i = 0; i < NoteCount; ++i) {
        cmdNoteBass[i]->setEnabled(false);
        setBackColor(cmdNoteBass[i], VbColor::White);
        cmdNoteViolin[i]->setEnabled(false);
        setBackColor(cmdNoteViolin[i], VbColor::White);
    }
}

void Form1::markKey(int index, std::uint32_t colour) {
    if (m_markKey)
        m_markKey(index, colour);
}
