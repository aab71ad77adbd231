// Answers typed: a note's letter answers as its button does, in the main window and in the
// keyboard window; the toggles' keys come first, as shortcuts.
#include "forms/Form1.h"
#include "training/Exercise.h"
#include "training/NoteModel.h"
#include "training/NoteNaming.h"
#include "training/TypedLetter.h"

#include <QKeyEvent>

bool Form1::answerWithLetter(QChar typed) {
    const std::optional<TypedNote> typedNote = noteOfTypedLetter(
        typed, namingStyle().letters, m_exercise.clef(), m_exercise.askedSpelled());
    if (!typedNote || m_exercise.state() != ExerciseState::Running)
        return false;
    answerPlace(typedNote->index, clefNote(m_exercise.clef(), typedNote->index)->step,
                typedNote->alteration);
    return true;
}

bool Form1::answerWithKeyText(const QKeyEvent& event) {
    const QString typed = event.text();
    const bool plain =
        !(event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    return plain && typed.size() == 1 && answerWithLetter(typed.front());
}

void Form1::keyPressEvent(QKeyEvent* event) {
    if (answerWithKeyText(*event))
        event->accept();
    else
        QWidget::keyPressEvent(event);
}
