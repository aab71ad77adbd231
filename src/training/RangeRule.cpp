#include "training/RangeRule.h"

#include "training/ClefTable.h"
#include "training/NoteModel.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

QString bothEndsMessage(Clef clef, const QString& und) {
    return QCoreApplication::translate(
               "RangeRule", "Im %1 muss ein tiefster %2 ein höchster Ton ausgewählt werden.")
        .arg(clefName(clef), und);
}

} // namespace

std::variant<NoteRange, QString> rangeFromTicks(const std::array<bool, NoteCount>& ticked,
                                                Clef clef) {
    int lowest = 0;
    while (lowest < NoteCount && !ticked[lowest])
        ++lowest;
    if (lowest == NoteCount)
        return bothEndsMessage(clef, QCoreApplication::translate("RangeRule", "UND"));
    int highest = NoteCount - 1;
    while (!ticked[highest])
        --highest;
    if (highest == lowest)
        return bothEndsMessage(clef, QCoreApplication::translate("RangeRule", "und"));
    return NoteRange{lowest, highest};
}

NoteRange rangeFromText(const QString& text) {
    const QStringList ends = text.split(QLatin1Char('-'));
    bool lowOk = false;
    bool highOk = false;
    const int lowest = ends.size() == 2 ? ends[0].toInt(&lowOk) : 0;
    const int highest = ends.size() == 2 ? ends[1].toInt(&highOk) : 0;
    if (!lowOk || !highOk || lowest < 0 || lowest >= highest || highest >= NoteCount)
        return {0, NoteCount - 1};
    return {lowest, highest};
}

QString rangeText(const NoteRange& range) {
    return QStringLiteral("%1-%2").arg(range.lowest).arg(range.highest);
}
