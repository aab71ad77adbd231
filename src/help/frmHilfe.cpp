#include "help/frmHilfe.h"

#include "help/NoteChart.h"

#include "widgets/WindowPlacement.h"

#include <QHideEvent>
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

// The desktop may hand the focus to any window, or none; the learner goes on in the main window.
void frmHilfe::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous() && m_mainWindow && m_mainWindow->isVisible())
        m_mainWindow->activateWindow();
}

frmHilfe* frmHilfe::showSingle(QWidget* mainWindow) {
    static QPointer<frmHilfe> open;
    if (!open) {
        open = new frmHilfe;
        open->m_mainWindow = mainWindow;
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
