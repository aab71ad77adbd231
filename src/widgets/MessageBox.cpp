#include "widgets/MessageBox.h"

#include <QMessageBox>

namespace {

QMessageBox::Icon toQtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void showMessageBox(QWidget* parent, const QString& text, const QString& title, MessageIcon icon,
                    const QString& details) {
    QMessageBox box(toQtIcon(icon), title.isEmpty() ? DefaultMessageTitle : title, text,
                    QMessageBox::Ok, parent);
    if (!details.isEmpty())
        box.setDetailedText(details);
    // The OK button holds the focus, so both Space and Enter close the box; a click on the text
    // must not take the focus from it, since the time-out message asks for the space bar.
    box.setDefaultButton(QMessageBox::Ok);
    box.setTextInteractionFlags(Qt::NoTextInteraction);
    box.exec();
}
