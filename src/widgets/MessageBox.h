#pragma once

#include "training/MessageIcon.h"

#include <QString>

#include <concepts>
#include <functional>
#include <utility>

class QWidget;

// Shows a modal message with a single OK button and waits until it is closed. An empty title
// stands for the program's own title; details, when not empty, lie behind the box's standard
// details button. Callers without details leave them out.
class MessageFunction {
public:
    using Show = std::function<void(QWidget* parent, const QString& text, const QString& title,
                                    MessageIcon icon, const QString& details)>;

    MessageFunction() = default;
    template <typename F>
    requires std::invocable<F&, QWidget*, const QString&, const QString&, MessageIcon,
                            const QString&>
    MessageFunction(F show) : m_show(std::move(show)) {}

    void operator()(QWidget* parent, const QString& text, const QString& title, MessageIcon icon,
                    const QString& details = QString()) const {
        m_show(parent, text, title, icon, details);
    }

private:
    Show m_show;
};

inline const QString DefaultMessageTitle = QStringLiteral("virel5");

void showMessageBox(QWidget* parent, const QString& text, const QString& title, MessageIcon icon,
                    const QString& details);
