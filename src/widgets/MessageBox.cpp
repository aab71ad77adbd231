#include "widgets/MessageBox.h"

#include <QFontMetricsF>
#include <QMessageBox>
#include <QScrollBar>
#include <QStringList>
#include <QTextEdit>

#include <algorithm>
#include <cmath>

namespace {

constexpr int DetailLinesShown = 10;

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

// Qt's details area is a hundred pixels high and wraps long lines, which pushes the last line
// out of sight: it is made as wide as the longest line and ten lines high, beside room for a
// scroll bar once there are more.
void fitDetailsArea(QMessageBox& box, const QString& details) {
    auto* area = box.findChild<QTextEdit*>();
    if (!area)
        return;
    const QFontMetricsF metrics(area->font());
    qreal longest = 0;
    for (const QString& line : details.split(QLatin1Char('\n')))
        longest = std::max(longest, metrics.horizontalAdvance(line));
    const int margins =
        2 * (area->frameWidth() + int(std::ceil(area->document()->documentMargin())));
    area->setMinimumWidth(int(std::ceil(longest)) + margins +
                          area->verticalScrollBar()->sizeHint().width());
    area->setFixedHeight(int(std::ceil(DetailLinesShown * metrics.lineSpacing())) + margins);
}

} // namespace

void showMessageBox(QWidget* parent, const QString& text, const QString& title, MessageIcon icon,
                    const QString& details) {
    QMessageBox box(toQtIcon(icon), title.isEmpty() ? DefaultMessageTitle : title, text,
                    QMessageBox::Ok, parent);
    if (!details.isEmpty()) {
        box.setDetailedText(details);
        fitDetailsArea(box, details);
    }
    // The OK button holds the focus, so both Space and Enter close the box; a click on the text
    // must not take the focus from it, since the time-out message asks for the space bar.
    box.setDefaultButton(QMessageBox::Ok);
    box.setTextInteractionFlags(Qt::NoTextInteraction);
    box.exec();
}
