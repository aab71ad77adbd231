#pragma once

#include "ProgramSession.h"
#include "XvfbDisplay.h"

#include <QGuiApplication>
#include <QTest>

#include <memory>

// The main of a test that drives the program on an X server of its own. `Test` is built from
// the tools missing and whether the display came up, and skips or fails on them itself.
template <class Test> int runOnOwnDisplay(int argc, char* argv[]) {
    const QStringList missing = missingSessionTools();
    std::unique_ptr<XvfbDisplay> display;
    if (missing.isEmpty())
        display = std::make_unique<XvfbDisplay>();
    const bool onDisplay = display && display->isRunning();
    if (onDisplay)
        qputenv("DISPLAY", display->name().toLocal8Bit());
    // The test's own application only takes screenshots, so it must look at the same screen.
    qputenv("QT_QPA_PLATFORM", onDisplay ? "xcb" : "offscreen");
    QGuiApplication app(argc, argv);
    Test test(missing, onDisplay);
    return QTest::qExec(&test, argc, argv);
}
