#include "forms/TypingLimit.h"

#include <QLineEdit>

namespace {

// Watches the learner's edits (typing, pasting, dropping) and takes back any that would leave
// more than one character, unless they shorten a longer text the program had put there.
class OneCharacterTyping : public QObject {
public:
    explicit OneCharacterTyping(QLineEdit* field) : QObject(field), m_field(field) {
        m_accepted = field->text();
        connect(field, &QLineEdit::textEdited, this, &OneCharacterTyping::onEdited);
        connect(field, &QLineEdit::textChanged, this, [this](const QString& text) {
            if (!m_reverting)
                m_accepted = text;
        });
    }

private:
    void onEdited(const QString& text) {
        if (text.size() <= 1 || text.size() < m_accepted.size()) {
            m_accepted = text;
            return;
        }
        const int cursor = m_field->cursorPosition() - int(text.size() - m_accepted.size());
        m_reverting = true;
        m_field->setText(m_accepted);
        m_reverting = false;
        m_field->setCursorPosition(qMax(0, cursor));
    }

    QLineEdit* m_field;
    QString m_accepted;
    bool m_reverting = false;
};

} // namespace

void limitTypingToOneCharacter(QLineEdit* field) {
    new OneCharacterTyping(field);
}
