#include "forms/BackColor.h"

#include "forms/Twips.h"

#include <QPushButton>

void setBackColor(QPushButton* button, std::uint32_t colour) {
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, fromVbColor(colour));
    button->setPalette(palette);
}
