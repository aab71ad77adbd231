#pragma once

class QLineEdit;

// The learner may type a single character; a longer text set by the program (a stored time such
// as "0,125") is still shown whole and can be shortened. QLineEdit::setMaxLength would cut it.
// Holds for keys, pasting (the first character of the pasted text is kept), dropping, undo and
// redo: the field only ever holds one character or what is left of the program's text.
void limitTypingToOneCharacter(QLineEdit* field);
