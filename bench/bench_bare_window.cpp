// The yardstick for the start-up benchmark: the least any Qt Widgets program does before its
// first window of the main window's size is on screen.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(741, 490);
    window.show();
    return QApplication::exec();
}
