#include "help/frmHilfe.h"

#include "widgets/WindowPlacement.h"

#include <QPointer>
#include <QPushButton>

frmHilfe::frmHilfe()
    : QDialog(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
    setAttribute(Qt::WA_DeleteOnClose);
    LayoutAnwenden();
    connect(Ok, &QPushButton::clicked, this, &QWidget::close);
}

frmHilfe* frmHilfe::showSingle(const QWidget* mainWindow) {
    static QPointer<frmHilfe> open;
    if (!open) {
        open = new frmHilfe;
        if (mainWindow)
            centreOnWindow(*open, *mainWindow);
    }
    if (open->isMinimized())
        open->showNormal();
    else
        open->show();
    open->raise();
    open->activateWindow();
    return open;
}
