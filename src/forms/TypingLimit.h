#pragma once

class QLineEdit;

// The learner may type a single character; a longer text set by the program (a stored time such
// as "0,125") is still shown whole and can be shortened. QLineEdit::setMaxLength would cut it.
void limitTypingToOneCharacter(QLineEdit* field);
