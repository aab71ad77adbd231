#pragma once

#include <QWidget>

#include <array>
#include <cstdint>

class Form1;
class KeyboardKey;
class QFrame;
class QLabel;

// The on-screen keyboard of an exercise practised with it: a white key answers with its note
// index as the main window's note button does. The main window keeps it at its lower left
// corner and marks its keys; it is deleted when closed.
class frmKeyboard : public QWidget {
    Q_OBJECT

public:
    explicit frmKeyboard(Form1& form);

    std::array<KeyboardKey*, 15> picKeyboard{};
    std::array<QLabel*, 15> lblKeyboard{};
    std::array<QFrame*, 11> Picture1{}; // black keys: they take clicks and answer nothing

    void Beschriften();
    void Markieren(int note, std::uint32_t colour);
    void picKeyboard_Click(std::int16_t Index);

private:
    void LayoutAnwenden();

    Form1& m_form;
};
