#pragma once

#include <QString>

#include <functional>

class QWidget;

enum class MessageIcon { None, Information, Warning };

// Shows a modal message with a single OK button and waits until it is closed.
// An empty title stands for the program's own title.
using MessageFunction = std::function<void(QWidget* parent, const QString& text,
                                           const QString& title, MessageIcon icon)>;

inline const QString DefaultMessageTitle = QStringLiteral("virel5");

void showMessageBox(QWidget* parent, const QString& text, const QString& title, MessageIcon icon);
