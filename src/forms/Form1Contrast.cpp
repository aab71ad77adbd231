// High contrast: the staff black on white, the answer buttons with thick borders, and the
// wrong-answer display's red and green darkened.
#include "forms/Form1.h"
#include "settings/DisplaySettings.h"
#include "settings/SettingsStore.h"
#include "widgets/BackColor.h"
#include "widgets/Contrast.h"
#include "widgets/Twips.h"

#include <QPushButton>

void Form1::readDisplaySetting() {
    m_highContrast = m_services.store && readHighContrast(*m_services.store);
    for (auto* row : {&cmdNoteViolin, &cmdNoteBass})
        for (QPushButton* button : *row)
            setThickBorder(button, m_highContrast);
    update();
}

QColor Form1::staffBackground() const {
    return fromVbColor(m_highContrast ? VbColor::White : VbColor::Blue);
}

// A head not yet answered, white on the blue staff, is black on the white one.
QColor Form1::headFill(std::uint32_t colour) const {
    if (m_highContrast && colour == VbColor::White)
        return palette().color(QPalette::WindowText);
    return fromVbColor(answerColour(colour, m_highContrast));
}
