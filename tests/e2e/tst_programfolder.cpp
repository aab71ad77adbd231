// The program kept in a folder whose name a shell would misread: it plays its notes and opens
// its readme, and nothing it does runs through a shell.
#include "CopyFolder.h"
#include "DesktopStandIns.h"
#include "MonitorCapture.h"
#include "OwnDisplay.h"
#include "ProgramSession.h"
#include "WindowLayout.h"
#include "Xdotool.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <algorithm>
#include <cstdlib>

namespace {

const QString Violin = QStringLiteral("Violin");
const QString FolderName = QStringLiteral("Noten \"üben\" & 'mehr'; $(touch pwned) `touch pwned`");
const QString Marker = QStringLiteral("pwned");

// The program with its sounds and readme, as an installation keeps them together.
bool copyProgram(const QString& to) {
    const QDir built = QFileInfo(QStringLiteral(VIRELO_PROGRAM)).absoluteDir();
    return QDir().mkpath(to) &&
           QFile::copy(built.filePath(QStringLiteral("virelo")), to + QStringLiteral("/virelo")) &&
           QFile::copy(built.filePath(QStringLiteral("readme.txt")),
                       to + QStringLiteral("/readme.txt")) &&
           copyFolder(built.filePath(QStringLiteral("sound")), to + QStringLiteral("/sound"));
}

// A file address as the desktop gets it, or a plain path.
QString localPath(const QString& opened) {
    const QUrl url(opened);
    return url.isLocalFile() ? url.toLocalFile() : opened;
}

} // namespace

class ProgramFolderTest : public OwnDisplayTest {
    Q_OBJECT

public:
    using OwnDisplayTest::OwnDisplayTest;

private:
    QTemporaryDir root_;
    DesktopStandIns desktop_;

    QString folder() const { return root_.filePath(FolderName); }

private slots:
    void initTestCase() {
        openSession();
        if (!session_)
            return;
        QVERIFY(root_.isValid() && desktop_.isReady());
        QVERIFY(copyProgram(folder()));
        session_->setProgram(folder() + QStringLiteral("/virelo"));
        session_->prependToPath(desktop_.folder());
        QVERIFY2(session_->start(), "the main window did not show");
    }

    void cleanupTestCase() { closeSession(); }

    void notesSound() {
        MonitorCapture capture;
        QVERIFY2(capture.isRunning(), "parec did not start");
        // Until a listener arrived the null sink may have rendered ahead.
        QTest::qWait(2100);
        const quint64 dialog = session_->openSettings(layout::violinButton);
        QVERIFY2(dialog != 0, "the settings dialog did not open");
        QVERIFY2(session_->startRange(dialog, Violin, 4, 13), "the exercise did not start");
        QVERIFY2(session_->watchAskedNote(Violin, false), "no note was shown");
        capture.stop();
        const std::vector<std::int16_t>& heard = capture.samples();
        QVERIFY2(std::any_of(heard.begin(), heard.end(),
                             [](std::int16_t sample) { return std::abs(sample) > 16; }),
                 "the note did not sound");
        QCOMPARE(session_->abortExercise(), abortedText);
    }

    // The readme beside the program, then the home page, handed to the desktop as they are.
    void readmeAndHomePageOpen() {
        QVERIFY(xdotool::click(session_->mainWindow(), layout::infoButton));
        const quint64 info = waitForWindow(QStringLiteral("^Info$"));
        QVERIFY2(info != 0, "the about dialog did not open");
        QVERIFY(xdotool::click(info, layout::readmeButton));
        QVERIFY2(QTest::qWaitFor([&] { return desktop_.opened().size() == 1; }),
                 "the readme was not handed to the desktop");
        QCOMPARE(localPath(desktop_.opened().constFirst()),
                 folder() + QStringLiteral("/readme.txt"));
        QVERIFY(xdotool::click(info, layout::homePageLink));
        QVERIFY2(QTest::qWaitFor([&] { return desktop_.opened().size() == 2; }),
                 "the home page was not handed to the desktop");
        QCOMPARE(desktop_.opened().constLast(), QStringLiteral("https://www.virelo.example/"));
        QVERIFY(xdotool::click(info, layout::infoOkButton));
        QVERIFY2(waitForNoWindow(QStringLiteral("^Info$")), "the about dialog stayed open");
    }

    void nothingRanThroughAShell() {
        for (const QString& where : {root_.path(), folder(), QDir::currentPath()})
            QVERIFY2(!QFileInfo::exists(where + QLatin1Char('/') + Marker), qPrintable(where));
    }

    void endButtonEndsProgram() { endWithEndButton(); }
};

int main(int argc, char* argv[]) {
    return runOnOwnDisplay<ProgramFolderTest>(argc, argv);
}

#include "tst_programfolder.moc"
