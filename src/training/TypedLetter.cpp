#include "training/TypedLetter.h"

#include "training/ExerciseSize.h"
#include "training/NoteModel.h"

#include <cstdlib>
#include <limits>

namespace {

struct LetterStep {
    int letter; // 0 = C .. 6 = B
    std::optional<int> alteration;
};

std::optional<LetterStep> letterStep(QChar typed, NoteLetters letters) {
    static constexpr QStringView Letters = u"cdefgab";
    const QChar lower = typed.toLower();
    if (letters == NoteLetters::German) {
        if (lower == u'h')
            return LetterStep{6, std::nullopt};
        if (lower == u'b')
            return LetterStep{6, -1};
    }
    const qsizetype at = Letters.indexOf(lower);
    if (at < 0)
        return std::nullopt;
    return LetterStep{int(at), std::nullopt};
}

} // namespace

std::optional<TypedNote> noteOfTypedLetter(QChar typed, NoteLetters letters, Clef clef,
                                           const SpelledNote& asked) {
    const std::optional<LetterStep> named = letterStep(typed, letters);
    if (!named)
        return std::nullopt;
    std::optional<TypedNote> nearest;
    int nearestDistance = std::numeric_limits<int>::max();
    for (int index = 0; index < NoteCount; ++index) {
        const std::optional<SpelledNote> note = clefNote(clef, index);
        if (!note || note->letter() != named->letter)
            continue;
        // Places of one letter lie seven steps apart: the nearest is never a tie.
        const int distance = std::abs(note->step - asked.step);
        if (distance < nearestDistance) {
            nearestDistance = distance;
            nearest = TypedNote{index, named->alteration};
        }
    }
    return nearest;
}
