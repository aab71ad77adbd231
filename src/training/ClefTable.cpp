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
    {.clef = Clef::Violin,
     .name = QT_TRANSLATE_NOOP("Clef", "Violinschlüssel"),
     .recordKey = "Violin",
     .glyph = U'\U0001D11E',
     .glyphLine = 2,
     .lineStep = at(G, 4),
     .lowestStep = at(F, 3),
     .ownButtonRow = true,
     .noteFolder = "violin",
     .readAsText = QT_TRANSLATE_NOOP("Clef", "wie im Violinschlüssel gelesen"),
     .choiceText = nullptr,
     .sharps = {at(F, 5), at(C, 5), at(G, 5), at(D, 5), at(A, 4), at(E, 5), at(H, 4)},
     .flats = {at(H, 4), at(E, 5), at(A, 4), at(D, 5), at(G, 4), at(C, 5), at(F, 4)}},
    {.clef = Clef::Bass,
     .name = QT_TRANSLATE_NOOP("Clef", "Bassschlüssel"),
     .recordKey = "Bass",
     .glyph = U'\U0001D122',
     .glyphLine = 4,
     .lineStep = at(F, 3),
     .lowestStep = at(F, 2),
     .ownButtonRow = true,
     .noteFolder = "bass",
     .readAsText = QT_TRANSLATE_NOOP("Clef", "wie im Bassschlüssel gelesen"),
     .choiceText = nullptr,
     .sharps = {at(F, 3), at(C, 3), at(G, 3), at(D, 3), at(A, 2), at(E, 3), at(H, 2)},
     .flats = {at(H, 2), at(E, 3), at(A, 2), at(D, 3), at(G, 2), at(C, 3), at(F, 2)}},
    {.clef = Clef::Alto,
     .name = QT_TRANSLATE_NOOP("Clef", "Altschlüssel"),
     .recordKey = "Alto",
     .glyph = U'\U0001D121',
     .glyphLine = 3,
     .lineStep = at(C, 4),
     .lowestStep = at(C, 3),
     .ownButtonRow = false,
     .noteFolder = nullptr,
     .readAsText = nullptr,
     .choiceText = QT_TRANSLATE_NOOP("Clef", "Altschlüssel (Bratsche)"),
     .sharps = {at(F, 4), at(C, 4), at(G, 4), at(D, 4), at(A, 3), at(E, 4), at(H, 3)},
     .flats = {at(H, 3), at(E, 4), at(A, 3), at(D, 4), at(G, 3), at(C, 4), at(F, 3)}},
    {.clef = Clef::Tenor,
     .name = QT_TRANSLATE_NOOP("Clef", "Tenorschlüssel"),
     .recordKey = "Tenor",
     .glyph = U'\U0001D121',
     .glyphLine = 4,
     .lineStep = at(C, 4),
     .lowestStep = at(A, 2),
     .ownButtonRow = false,
     .noteFolder = nullptr,
     .readAsText = nullptr,
     .choiceText = QT_TRANSLATE_NOOP("Clef", "Tenorschlüssel (Violoncello, Fagott, Posaune)"),
     .sharps = {at(F, 3), at(C, 4), at(G, 3), at(D, 4), at(A, 3), at(E, 4), at(H, 3)},
     .flats = {at(H, 3), at(E, 4), at(A, 3), at(D, 4), at(G, 3), at(C, 4), at(F, 3)}},
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
