#include "training/RangeRule.h"

#include "training/NoteModel.h"

#include <QCoreApplication>

namespace {

QString clefInText(Clef clef) {
    return clef == Clef::Bass ? QCoreApplication::translate("RangeRule", "Bassschlüssel")
                              : QCoreApplication::translate("RangeRule", "Violinschlüssel");
}

QString bothEndsMessage(Clef clef, const QString& und) {
    return QCoreApplication::translate(
               "RangeRule", "Im %1 muss ein tiefster %2 ein höchster Ton ausgewählt werden.")
        .arg(clefInText(clef), und);
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
