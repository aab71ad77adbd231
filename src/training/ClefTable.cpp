#include "training/ClefTable.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

enum Letter { C, D, E, F, G, A, H };

constexpr int at(Letter letter, int octave) {
    return octave * SpelledNote::StepsPerOctave + letter;
}

// From the lowest rung, the third ledger line below the staff, up to the staff's lowest line.
constexpr int StepsBelowStaff = 6;

// The signatures as engravers set them: each sign keeps within the staff, and in the tenor
// clef the sharps f and g stand low, where the high ones would leave the staff.
constexpr std::array<ClefRow, 4> Table = {{
    {Clef::Violin,
     QT_TRANSLATE_NOOP("Clef", "Violinschlüssel"),
     "Violin",
     U'\U0001D11E',
     2,
     at(G, 4),
     at(F, 3),
     true,
     "violin",
     QT_TRANSLATE_NOOP("Clef", "wie im Violinschlüssel gelesen"),
     nullptr,
     {at(F, 5), at(C, 5), at(G, 5), at(D, 5), at(A, 4), at(E, 5), at(H, 4)},
     {at(H, 4), at(E, 5), at(A, 4), at(D, 5), at(G, 4), at(C, 5), at(F, 4)}},
    {Clef::Bass,
     QT_TRANSLATE_NOOP("Clef", "Bassschlüssel"),
     "Bass",
     U'\U0001D122',
     4,
     at(F, 3),
     at(F, 2),
     true,
     "bass",
     QT_TRANSLATE_NOOP("Clef", "wie im Bassschlüssel gelesen"),
     nullptr,
     {at(F, 3), at(C, 3), at(G, 3), at(D, 3), at(A, 2), at(E, 3), at(H, 2)},
     {at(H, 2), at(E, 3), at(A, 2), at(D, 3), at(G, 2), at(C, 3), at(F, 2)}},
    {Clef::Alto,
     QT_TRANSLATE_NOOP("Clef", "Altschlüssel"),
     "Alto",
     U'\U0001D121',
     3,
     at(C, 4),
     at(C, 3),
     false,
     nullptr,
     nullptr,
     QT_TRANSLATE_NOOP("Clef", "Altschlüssel (Bratsche)"),
     {at(F, 4), at(C, 4), at(G, 4), at(D, 4), at(A, 3), at(E, 4), at(H, 3)},
     {at(H, 3), at(E, 4), at(A, 3), at(D, 4), at(G, 3), at(C, 4), at(F, 3)}},
    {Clef::Tenor,
     QT_TRANSLATE_NOOP("Clef", "Tenorschlüssel"),
     "Tenor",
     U'\U0001D121',
     4,
     at(C, 4),
     at(A, 2),
     false,
     nullptr,
     nullptr,
     QT_TRANSLATE_NOOP("Clef", "Tenorschlüssel (Violoncello, Fagott, Posaune)"),
     {at(F, 3), at(C, 4), at(G, 3), at(D, 4), at(A, 3), at(E, 4), at(H, 3)},
     {at(H, 3), at(E, 4), at(A, 3), at(D, 4), at(G, 3), at(C, 4), at(F, 3)}},
}};

} // namespace

std::span<const ClefRow> clefTable() {
    return Table;
}

const ClefRow* clefRow(Clef clef) {
    const auto row = std::find_if(Table.begin(), Table.end(),
                                  [clef](const ClefRow& r) { return r.clef == clef; });
    return row == Table.end() ? nullptr : &*row;
}

QString clefName(Clef clef) {
    const ClefRow* row = clefRow(clef);
    return row ? QCoreApplication::translate("Clef", row->name) : QString();
}

std::optional<Clef> clefOfRecordKey(QStringView key) {
    for (const ClefRow& row : Table)
        if (key == QLatin1String(row.recordKey))
            return row.clef;
    return std::nullopt;
}

QList<Clef> answerRows(Clef clef) {
    const ClefRow* own = clefRow(clef);
    if (!own)
        return {};
    if (own->ownButtonRow)
        return {clef};
    QList<Clef> rows;
    for (const ClefRow& row : Table)
        if (row.ownButtonRow)
            rows.append(row.clef);
    return rows;
}

QList<Clef> misreadingClefs(Clef clef) {
    QList<Clef> clefs;
    if (!clefRow(clef))
        return clefs;
    for (const ClefRow& row : Table)
        if (row.ownButtonRow && row.clef != clef)
            clefs.append(row.clef);
    return clefs;
}

int ladderBaseStep(const ClefRow& row) {
    return row.lineStep - 2 * (row.glyphLine - 1) - StepsBelowStaff;
}

std::optional<SpelledNote> noteOnStaff(Clef clef, int staffStep, int alteration) {
    const ClefRow* row = clefRow(clef);
    if (!row)
        return std::nullopt;
    return SpelledNote{ladderBaseStep(*row) + staffStep, alteration};
}
