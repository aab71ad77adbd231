#include "help/frmHilfe.h"

#include "help/NoteChart.h"

#include "widgets/WindowPlacement.h"

#include <QPointer>
#include <QPushButton>

frmHilfe::frmHilfe()
    : QDialog(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
    setAttribute(Qt::WA_DeleteOnClose);
    LayoutAnwenden();
    connect(Ok, &QPushButton::clicked, this, &QWidget::close);
    connect(cmdWeitereSchluessel, &QPushButton::clicked, this,
            &frmHilfe::cmdWeitereSchluessel_Click);
}

void frmHilfe::cmdWeitereSchluessel_Click() {
    const bool described = Picture1->clef() == Clef::Violin;
    Picture1->setClef(described ? Clef::Alto : Clef::Violin);
    Picture2->setClef(described ? Clef::Tenor : Clef::Bass);
    cmdWeitereSchluessel->setText(described ? tr("Violin- und Bassschlüssel")
                                            : tr("Alt- und Tenorschlüssel"));
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
