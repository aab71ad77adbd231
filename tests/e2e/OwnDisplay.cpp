#include "OwnDisplay.h"

#include "WindowLayout.h"
#include "Xdotool.h"

void OwnDisplayTest::openSession() {
    if (!missingTools_.isEmpty()) {
        const QString reason = QStringLiteral("needs %1, which ./test installs")
                                   .arg(missingTools_.join(QStringLiteral(", ")));
        QTest::qSkip(qPrintable(reason), __FILE__, __LINE__);
        return;
    }
    if (!QTest::qVerify(
            onDisplay_, "onDisplay",
            "Xvfb (with the window manager asked for) started on none of the displays :120 to :199",
            __FILE__, __LINE__))
        return;
    auto session = std::make_unique<ProgramSession>();
    const QString problem = session->problem();
    if (QTest::qVerify(problem.isEmpty(), "session", qPrintable(problem), __FILE__, __LINE__))
        session_ = std::move(session);
}

void OwnDisplayTest::closeSession() {
    if (!session_)
        return;
    const QProcess& program = session_->program();
    if (program.state() == QProcess::NotRunning && program.exitStatus() == QProcess::CrashExit)
        qInfo("The program had crashed");
    const QByteArray output = session_->stop();
    if (!output.isEmpty())
        qInfo("The program wrote:\n%s", output.constData());
    session_.reset();
}

void OwnDisplayTest::endWithEndButton() {
    if (!xdotool::click(session_->mainWindow(), layout::endButton))
        QFAIL(qPrintable(QStringLiteral("the main window could not be clicked; shown:\n") +
                         session_->whatIsShown()));
    QProcess& program = session_->program();
    QVERIFY2(program.waitForFinished(30000), "the program did not end");
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
}
