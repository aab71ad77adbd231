// Answers typed: a note's letter answers as its button does, in the main window and in the
// keyboard window; the toggles' keys come first, as shortcuts.
#include "forms/Form1.h"
#include "training/Exercise.h"
#include "training/NoteModel.h"
#include "training/NoteNaming.h"
#include "training/TypedLetter.h"

#include <QKeyEvent>

void Form1::answerTypedNote(const TypedNote& note) {
    answerPlace(note.index, clefNote(m_exercise.clef(), note.index)->step, note.alteration);
}

bool Form1::answerWithLetter(QChar typed) {
    const std::optional<TypedNote> typedNote = noteOfTypedLetter(
        typed, namingStyle().letters, m_exercise.clef(), m_exercise.askedSpelled());
    if (!typedNote || m_exercise.state() != ExerciseState::Running)
        return false;
    answerTypedNote(*typedNote);
    return true;
}

bool Form1::answerWithTypedName(const QKeyEvent& event) {
    const bool confirmed = event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
    const QString typed = event.text();
    if (m_exercise.state() != ExerciseState::Running)
        return false;
    if (!confirmed && typed.size() != 1)
        return false;
    // A letter starts a name afresh; the octave's digit or marks only follow one.
    QString name = m_typedName;
    if (!confirmed) {
        const bool noteLetter = noteOfTypedLetter(typed.front(), namingStyle().letters,
                                                  m_exercise.clef(), m_exercise.askedSpelled())
                                    .has_value();
        if (noteLetter)
            name = typed;
        else if (!name.isEmpty())
            name += typed;
        else
            return false;
    } else if (name.isEmpty()) {
        return false;
    }
    const TypedName read = readTypedName(name, namingStyle(), m_exercise.clef(), confirmed);
    m_typedName = read.progress == TypedNameProgress::Open ? name : QString();
    if (read.progress == TypedNameProgress::Complete)
        answerTypedNote(*read.note);
    return true;
}

bool Form1::answerWithKeyText(const QKeyEvent& event) {
    const bool plain =
        !(event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (!plain)
        return false;
    if (m_typeOctave)
        return answerWithTypedName(event);
    const QString typed = event.text();
    return typed.size() == 1 && answerWithLetter(typed.front());
}

void Form1::keyPressEvent(QKeyEvent* event) {
    if (answerWithKeyText(*event))
        event->accept();
    else
        QWidget::keyPressEvent(event);
}
