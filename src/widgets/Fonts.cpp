#include "widgets/Fonts.h"

#include <QApplication>
#include <QStyleFactory>

namespace {

const QStringList SansFamilies = {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                  QStringLiteral("DejaVu Sans")};

constexpr double DefaultDialogPointSize = 8.0;

} // namespace

QFont msSansSerif(double pointSize, bool bold) {
    QFont font;
    font.setFamilies(SansFamilies);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

void applyApplicationLook() {
    // Fusion paints a button's background colour, which the answer buttons need for red/green.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setFont(msSansSerif(DefaultDialogPointSize));
}
