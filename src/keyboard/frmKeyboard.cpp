#include "keyboard/frmKeyboard.h"

#include "keyboard/KeyboardKey.h"
#include "training/Exercise.h"
#include "training/NoteModel.h"
#include "widgets/DrawnElements.h"
#include "widgets/ProportionalResizer.h"
#include "widgets/Twips.h"

#include <QLabel>

frmKeyboard::frmKeyboard(Exercise& exercise)
    : QWidget(nullptr,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_exercise(exercise) {
    setAttribute(Qt::WA_DeleteOnClose);
    LayoutAnwenden();
    new ProportionalResizer(this);
    for (int i = 0; i < NoteCount; ++i) {
        const auto index = std::int16_t(i);
        connect(picKeyboard[i], &KeyboardKey::clicked, this,
                [this, index] { picKeyboard_Click(index); });
    }
    connect(&m_exercise, &Exercise::mistakeShown, this, &frmKeyboard::markMistake);
    connect(&m_exercise, &Exercise::mistakeCleared, this, &frmKeyboard::clearMarks);
    connect(&m_exercise, &Exercise::keyboardPracticeEnded, this, &QWidget::close);
    Beschriften();
}

void frmKeyboard::Beschriften() {
    for (int i = 0; i < NoteCount; ++i)
        lblKeyboard[i]->setText(m_exercise.NummerName(i));
}

void frmKeyboard::Markieren(int note, std::uint32_t colour) {
    if (note >= 0 && note < NoteCount)
        picKeyboard[note]->setBackColor(fromVbColor(colour));
}

void frmKeyboard::picKeyboard_Click(std::int16_t Index) {
    m_exercise.answer(Index);
}

void frmKeyboard::markMistake(int asked, int chosen) {
    Markieren(chosen, VbColor::Red);
    Markieren(asked, VbColor::Green);
}

void frmKeyboard::clearMarks() {
    for (int i = 0; i < NoteCount; ++i)
        Markieren(i, VbColor::White);
}
