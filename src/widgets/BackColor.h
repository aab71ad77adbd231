#pragma once

#include <cstdint>

class QPushButton;

// Paints a button's face in a layout colour (0x00BBGGRR); the answer buttons start white and
// turn red or green during the wrong-answer display. The face shows that colour exactly, flat,
// whether the button is enabled or not, inside a bevel, like a graphical button. On a face
// other than white the caption is drawn in the normal text colour, also when disabled.
// A face too dark for black text (the high-contrast red and green) gets a white caption.
void setBackColor(QPushButton* button, std::uint32_t colour);
// A thick dark border around the face, for high contrast.
void setThickBorder(QPushButton* button, bool thick);
