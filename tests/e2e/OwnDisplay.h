#pragma once

#include "ProgramSession.h"
#include "XvfbDisplay.h"

#include <QGuiApplication>
#include <QObject>
#include <QStandardPaths>
#include <QStringList>
#include <QTest>

#include <memory>

// A test of the real program on an X server of its own: it knows what this machine lacks and
// whether the server came up, and holds the program's session.
class OwnDisplayTest : public QObject {
public:
    OwnDisplayTest(QStringList missingTools, bool onDisplay)
        : missingTools_(std::move(missingTools)), onDisplay_(onDisplay) {}

    // The window manager the display runs, named by VIRELO_WINDOW_MANAGER, or empty for none.
    static QString windowManager() { return qEnvironmentVariable("VIRELO_WINDOW_MANAGER"); }

protected:
    // Sets up a session ready to start the program; leaves none when the test has been skipped
    // for want of tools, or has failed.
    void openSession();
    // Ends the program if it still runs and shows what it wrote.
    void closeSession();
    // Clicks "Ende" and checks that the program ends, and cleanly.
    void endWithEndButton();

    std::unique_ptr<ProgramSession> session_;

private:
    QStringList missingTools_;
    bool onDisplay_;
};

// The main of such a test: starts the X server and builds `Test` from what it found.
template <class Test> int runOnOwnDisplay(int argc, char* argv[]) {
    QStringList missing = missingSessionTools();
    const QString windowManager = OwnDisplayTest::windowManager();
    if (!windowManager.isEmpty() && QStandardPaths::findExecutable(windowManager).isEmpty())
        missing.append(windowManager);
    std::unique_ptr<XvfbDisplay> display;
    if (missing.isEmpty())
        display = std::make_unique<XvfbDisplay>(windowManager);
    const bool onDisplay = display && display->isRunning();
    if (onDisplay)
        qputenv("DISPLAY", display->name().toLocal8Bit());
    // The test's own application only takes screenshots, so it must look at the same screen.
    qputenv("QT_QPA_PLATFORM", onDisplay ? "xcb" : "offscreen");
    // A long click storm runs for many minutes; CTest's time limit bounds these tests instead of
    // Qt Test's five minutes per function.
    if (!qEnvironmentVariableIsSet("QTEST_FUNCTION_TIMEOUT"))
        qputenv("QTEST_FUNCTION_TIMEOUT", "3600000");
    QGuiApplication app(argc, argv);
    Test test(missing, onDisplay);
    return QTest::qExec(&test, argc, argv);
}
