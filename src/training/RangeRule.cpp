#include "training/RangeRule.h"

#include "training/NoteModel.h"

namespace {

QString clefInText(Clef clef) {
    return clef == Clef::Bass ? QStringLiteral("Bassschlüssel") : QStringLiteral("Violinschlüssel");
}

QString bothEndsMessage(Clef clef, const QString& und) {
    return QStringLiteral("Im ") + clefInText(clef) + QStringLiteral(" muss ein tiefster ") + und +
           QStringLiteral(" ein höchster Ton ausgewählt werden.");
}

} // namespace

std::variant<NoteRange, QString> rangeFromTicks(const std::array<bool, NoteCount>& ticked,
                                                Clef clef) {
    int lowest = 0;
    while (lowest < NoteCount && !ticked[lowest])
        ++lowest;
    if (lowest == NoteCount)
        return bothEndsMessage(clef, QStringLiteral("UND"));
    int highest = NoteCount - 1;
    while (!ticked[highest])
        --highest;
    if (highest == lowest)
        return bothEndsMessage(clef, QStringLiteral("und"));
    return NoteRange{lowest, highest};
}
