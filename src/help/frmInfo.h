#pragma once

#include "help/DesktopServices.h"
#include "widgets/DrawnElements.h"
#include "widgets/MessageBox.h"

#include <QCoreApplication>
#include <QDialog>

#include <array>

class MHyperJump;
class QLabel;
class QPushButton;

// What the about dialog needs from outside.
struct InfoServices {
    MessageFunction message;
    DesktopServices desktop;
    QString programDir; // holds readme.txt
};

// The about dialog: version and contact lines, the documentation file and the home page.
class frmInfo : public QDialog {
    Q_DECLARE_TR_FUNCTIONS(frmInfo)

public:
    frmInfo(InfoServices services, MHyperJump& hyperJump, QWidget* owner);

    QLabel* Label1 = nullptr;  // product and version
    QLabel* Label9 = nullptr;  // "Support:"
    QLabel* Label10 = nullptr; // "Vertrieb:"
    std::array<QLabel*, 6> lblSupport{};
    std::array<QLabel*, 6> lblVertrieb{};
    QLabel* Label17 = nullptr;
    QLabel* Label8 = nullptr; // the home page, a link
    QPushButton* cmdReadme = nullptr;
    QPushButton* cmdOk = nullptr;
    DrawnLine Line1;

    void cmdOk_Click();
    void cmdReadme_Click();
    void Label8_Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LayoutAnwenden();

    InfoServices m_services;
    MHyperJump& m_hyperJump;
};
