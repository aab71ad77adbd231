// The proportional resizer that keeps a sizable window's layout.
#include "widgets/ProportionalResizer.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

class ResizerTest : public QObject {
    Q_OBJECT

private slots:
    void keepsProportions_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("button");
        QTest::addColumn<QRect>("nested");
        QTest::addColumn<double>("pointSize");
        QTest::newRow("design size")
            << QSize(400, 200) << QRect(40, 20, 80, 40) << QRect(10, 10, 20, 10) << 10.0;
        QTest::newRow("doubled") << QSize(800, 400) << QRect(80, 40, 160, 80)
                                 << QRect(20, 20, 40, 20) << 20.0;
        QTest::newRow("wider only")
            << QSize(800, 200) << QRect(80, 20, 160, 40) << QRect(20, 10, 40, 10) << 10.0;
        QTest::newRow("halved") << QSize(200, 100) << QRect(20, 10, 40, 20) << QRect(5, 5, 10, 5)
                                << 5.0;
    }
    void keepsProportions() {
        QFETCH(QSize, size);
        QFETCH(QRect, button);
        QFETCH(QRect, nested);
        QFETCH(double, pointSize);
        QWidget window;
        window.resize(400, 200);
        auto* b = new QPushButton("x", &window);
        b->setGeometry(40, 20, 80, 40);
        QFont font = b->font();
        font.setPointSizeF(10);
        b->setFont(font);
        auto* label = new QLabel("y", b);
        label->setGeometry(10, 10, 20, 10);
        new ProportionalResizer(&window);
        window.resize(size);
        QCoreApplication::processEvents();
        window.show(); // the resize reaches the window when it is shown
        QTRY_COMPARE(b->geometry(), button);
        QCOMPARE(label->geometry(), nested);
        QCOMPARE(b->font().pointSizeF(), pointSize);
    }

    // Neighbours that touch at the design size still touch after an odd scale.
    void neighboursStayAdjacent() {
        QWidget window;
        window.resize(300, 100);
        auto* left = new QWidget(&window);
        left->setGeometry(0, 0, 37, 50);
        auto* right = new QWidget(&window);
        right->setGeometry(37, 0, 37, 50);
        new ProportionalResizer(&window);
        window.resize(437, 100);
        window.show();
        QTRY_COMPARE(window.size(), QSize(437, 100));
        QCOMPARE(left->geometry().right() + 1, right->geometry().left());
    }
};

QTEST_MAIN(ResizerTest)
#include "tst_resizer.moc"
