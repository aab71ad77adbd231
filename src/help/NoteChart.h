#pragma once

#include "help/NoteChartModel.h"

#include <QFrame>
#include <QPainterPath>

// A picture area showing the note chart of one clef, drawn for whatever size it has.
class NoteChart : public QFrame {
public:
    NoteChart(Clef clef, QWidget* parent);
    void setClef(Clef clef);
    Clef clef() const { return m_clef; }

    // The chart as drawn now, relative to the inside of the border.
    NoteChartModel chart() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Clef m_clef;
    QPainterPath m_clefOutline;
};
