#include "keyboard/frmKeyboard.h"

#include "forms/ProportionalResizer.h"
#include "forms/Twips.h"
#include "keyboard/KeyboardKey.h"
#include "training/Form1.h"
#include "training/NoteModel.h"

#include <QLabel>

frmKeyboard::frmKeyboard(Form1& form)
    : QWidget(nullptr,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_form(form) {
    setAttribute(Qt::WA_DeleteOnClose);
    LayoutAnwenden();
    new ProportionalResizer(this);
    for (int i = 0; i < NoteCount; ++i) {
        const auto index = std::int16_t(i);
        connect(picKeyboard[i], &KeyboardKey::clicked, this,
                [this, index] { picKeyboard_Click(index); });
    }
    Beschriften();
}

void frmKeyboard::Beschriften() {
    for (int i = 0; i < NoteCount; ++i)
        lblKeyboard[i]->setText(m_form.NummerName(i));
}

void frmKeyboard::Markieren(int note, std::uint32_t colour) {
    if (note >= 0 && note < NoteCount)
        picKeyboard[note]->setBackColor(fromVbColor(colour));
}

void frmKeyboard::picKeyboard_Click(std::int16_t Index) {
    if (m_form.AusgewählterSchlüssel == ClefViolin)
        m_form.cmdNoteViolin_Click(Index);
    else if (m_form.AusgewählterSchlüssel == ClefBass)
        m_form.cmdNoteBass_Click(Index);
}
