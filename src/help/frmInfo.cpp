#include "help/frmInfo.h"

#include "help/MHyperJump.h"
#include "help/Publisher.h"
#include "widgets/Twips.h"
#include "widgets/WindowPlacement.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QUrl>

frmInfo::frmInfo(InfoServices services, MHyperJump& hyperJump, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint),
      m_services(std::move(services)), m_hyperJump(hyperJump) {
    LayoutAnwenden();
    connect(cmdOk, &QPushButton::clicked, this, &frmInfo::cmdOk_Click);
    connect(cmdReadme, &QPushButton::clicked, this, &frmInfo::cmdReadme_Click);
    Label8->installEventFilter(this);

    centreOnScreen(*this, owner);
}

void frmInfo::cmdOk_Click() {
    accept();
}

void frmInfo::cmdReadme_Click() {
    // The guide in the language shown: readme.txt in German, readme-en.txt in English.
    const QString readmeName = tr("readme.txt");
    const QString path = QDir(m_services.programDir).filePath(readmeName);
    QString problem;
    if (!QFileInfo::exists(path))
        problem = tr("Die Datei „%1“ fehlt im Programmordner:\n%2");
    else if (!m_services.desktop.openUrl(QUrl::fromLocalFile(path)))
        problem = tr("Die Datei „%1“ konnte nicht geöffnet werden. Es ist kein "
                     "Programm eingerichtet, das Textdateien anzeigt.\n%2");
    if (!problem.isEmpty())
        m_services.message(this, problem.arg(readmeName, QDir::toNativeSeparators(path)),
                           tr("Fehler"), MessageIcon::Warning);
}

void frmInfo::Label8_Click() {
    m_hyperJump.HyperJump(Publisher::HomePage, true, m_services.desktop);
}

bool frmInfo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label8 && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            Label8->rect().contains(mouse->position().toPoint()))
            Label8_Click();
    }
    if (watched == Label8 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
            Label8_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmInfo::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.scale(1 / TwipsPerPixel, 1 / TwipsPerPixel);
    painter.setPen(QPen(palette().color(QPalette::WindowText), TwipsPerPixel));
    if (Line1.Visible)
        painter.drawLine(QPointF(Line1.X1, Line1.Y1), QPointF(Line1.X2, Line1.Y2));
}
