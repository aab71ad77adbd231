#pragma once

#include "training/Clef.h"

#include <QLineF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <array>
#include <vector>

// One note of a chart.
struct ChartNote {
    QString name;
    QRectF head; // box of the filled head, one line spacing high
    QLineF stem;
    std::vector<QLineF> ledgerLines;
    QRectF nameBox; // the name stands centred at its top
};

// The reference chart of a clef: its staff, its sign and every note it can ask, lowest first,
// in the pixels of the picture it fills.
struct NoteChartModel {
    double lineSpacing = 0;
    std::array<QLineF, 5> staffLines{}; // top line first
    QRectF clefBox;                     // the clef's sign fills its height, from its left edge
    std::vector<ChartNote> notes;       // note index 0..14
    double nameFontPixels = 0;
};

// The chart of the clef for a picture of the given size. Notes stand where
// the main window's placement rule puts them; every clef's chart has one scale for the same height.
NoteChartModel noteChart(Clef clef, const QSizeF& size);
