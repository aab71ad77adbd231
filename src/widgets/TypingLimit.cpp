#include "widgets/TypingLimit.h"

#include <QLineEdit>
#include <QValidator>

namespace {

// True when `shorter` is `text` with some of its characters left out.
bool isLeftOf(const QString& shorter, const QString& text) {
    qsizetype at = 0;
    for (const QChar c : shorter) {
        at = text.indexOf(c, at);
        if (at < 0)
            return false;
        ++at;
    }
    return true;
}

// A validator, so that QLineEdit itself takes back a refused edit, whatever made it, and keeps
// its undo history to accepted texts only.
class OneCharacterTyping : public QValidator {
public:
    explicit OneCharacterTyping(QLineEdit* field)
        : QValidator(field), m_field(field), m_programText(field->text()), m_last(m_programText) {}

    State validate(QString& text, int& cursor) const override {
        // setText clears the undo history; every edit of the learner's leaves some.
        if (!m_field->isUndoAvailable() && !m_field->isRedoAvailable())
            m_programText = text;
        else if (!fits(text) && !keepFirstInserted(text, cursor))
            return Invalid;
        m_last = text;
        return Acceptable;
    }

private:
    bool fits(const QString& text) const {
        return text.size() <= 1 || isLeftOf(text, m_programText);
    }

    // Of several characters put in at once (pasted, dropped), the first one stays if that fits.
    bool keepFirstInserted(QString& text, int& cursor) const {
        qsizetype before = 0;
        while (before < text.size() && before < m_last.size() && text[before] == m_last[before])
            ++before;
        qsizetype after = 0;
        while (after < text.size() - before && after < m_last.size() - before &&
               text[text.size() - 1 - after] == m_last[m_last.size() - 1 - after])
            ++after;
        const qsizetype inserted = text.size() - before - after;
        if (inserted < 2)
            return false;
        const QString kept = text.left(before + 1) + text.right(after);
        if (!fits(kept))
            return false;
        text = kept;
        cursor = int(before + 1);
        return true;
    }

    QLineEdit* m_field;
    mutable QString m_programText; // what the program put there last
    mutable QString m_last;        // the text last accepted
};

} // namespace

void limitTypingToOneCharacter(QLineEdit* field) {
    field->setValidator(new OneCharacterTyping(field));
}
