#pragma once

#include "training/NoteModel.h"

#include <QWidget>

#include <array>
#include <cstdint>

class Exercise;
class KeyboardKey;
class QFrame;
class QLabel;

// The on-screen keyboard of an exercise practised with it: a white key answers with its note
// index as the main window's note button does, and the keys of a wrong answer are marked while
// it is shown. The main window keeps it at its lower left corner; it closes when the keyboard
// practice ends and is deleted when closed.
class frmKeyboard : public QWidget {
    Q_OBJECT

public:
    explicit frmKeyboard(Exercise& exercise);

    std::array<KeyboardKey*, NoteCount> picKeyboard{};
    std::array<QLabel*, NoteCount> lblKeyboard{};
    std::array<QFrame*, 11> Picture1{}; // black keys: they take clicks and answer nothing

    void Beschriften();
    void Markieren(int note, std::uint32_t colour);
    void picKeyboard_Click(std::int16_t Index);

private:
    void LayoutAnwenden();
    void markMistake(int asked, int chosen);
    void clearMarks();

    Exercise& m_exercise;
};
