// Finding the registered web browser and opening the home page in it.
#include "FakeServices.h"
#include "help/MHyperJump.h"
#include "help/RegisteredBrowser.h"

#include <QDir>
#include <QFile>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>

namespace {

const QString Address = QStringLiteral("https://www.virelo.example/");

void writeFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

} // namespace

class HyperJumpTest : public QObject {
    Q_OBJECT

private slots:
    void cutRule_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("program");
        QTest::newRow("quoted, with a switch") << "\"C:\\Program Files\\Web\\web.exe\" -nohome"
                                               << "C:\\Program Files\\Web\\web.exe";
        QTest::newRow("unquoted, spaces in folders") << "C:\\Program Files\\Web\\web.exe %1"
                                                     << "C:\\Program Files\\Web\\web.exe";
        QTest::newRow("no separator keeps the placeholder") << "web.exe %1"
                                                            << "web.exe %1";
        QTest::newRow("single leading quote falls through")
            << "\"C:\\Program Files\\Web\\web.exe %1"
            << "\"C:\\Program Files\\Web\\web.exe";
        QTest::newRow("separator in a switch") << "C:\\Web\\web.exe -profile C:\\Profile %1"
                                               << "C:\\Web\\web.exe -profile C:\\Profile";
        QTest::newRow("nothing after the program") << "C:\\Web\\web.exe"
                                                   << "C:\\Web\\web.exe";
        QTest::newRow("quote later than the start") << "C:\\Web\\\"web\".exe %1"
                                                    << "C:\\Web\\\"web\".exe";
        QTest::newRow("empty quotes") << "\"\" -nohome"
                                      << "";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("slash path with field code") << "/usr/bin/firefox-esr %u"
                                                    << "/usr/bin/firefox-esr";
        QTest::newRow("slash path, space in a folder") << "/opt/Web Browser/web %U"
                                                       << "/opt/Web Browser/web";
        QTest::newRow("quoted slash path") << "\"/opt/Web Browser/web\" --new-window %u"
                                           << "/opt/Web Browser/web";
        QTest::newRow("bare name stays whole") << "web %u"
                                               << "web %u";
        QTest::newRow("slash in a switch") << "/usr/bin/web --profile=/home/a b %u"
                                           << "/usr/bin/web --profile=/home/a";
        QTest::newRow("mixed separators") << "C:/Web\\web.exe %1"
                                          << "C:/Web\\web.exe";
    }
    void cutRule() {
        QFETCH(QString, command);
        QFETCH(QString, program);
        QCOMPARE(cutBrowserCommand(command), program);
    }

    void desktopEntryExec_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("exec");
        QTest::newRow("plain") << "[Desktop Entry]\nName=Web\nExec=/usr/bin/web %u\n"
                               << "/usr/bin/web %u";
        QTest::newRow("action group first")
            << "[Desktop Action new]\nExec=/usr/bin/web --new\n[Desktop Entry]\nExec=/usr/bin/web "
               "%u\n"
            << "/usr/bin/web %u";
        QTest::newRow("action group after") << "[Desktop Entry]\nExec=web %u\n[Desktop Action "
                                               "new]\nExec=web --new\n"
                                            << "web %u";
        QTest::newRow("only in an action") << "[Desktop Entry]\nName=Web\n[Desktop Action "
                                              "new]\nExec=web --new\n"
                                           << "";
        QTest::newRow("TryExec is another key")
            << "[Desktop Entry]\nTryExec=/usr/bin/web\nExec=web %u\n"
            << "web %u";
        QTest::newRow("comments, blanks, spaces around =")
            << "# Exec=wrong\n\n[Desktop Entry]\n# Exec=wrong\n  Exec  =  /usr/bin/web %u  \n"
            << "/usr/bin/web %u";
        QTest::newRow("escapes") << "[Desktop Entry]\nExec=/opt/My\\sWeb/web \\\\x %u\n"
                                 << "/opt/My Web/web \\x %u";
        QTest::newRow("windows line ends") << "[Desktop Entry]\r\nExec=web %u\r\n"
                                           << "web %u";
        QTest::newRow("no Exec") << "[Desktop Entry]\nName=Web\n"
                                 << "";
    }
    void desktopEntryExec() {
        QFETCH(QString, text);
        QFETCH(QString, exec);
        QCOMPARE(::desktopEntryExec(text), exec);
    }

    // The entry named by xdg-settings, or else by xdg-mime, is read from the applications
    // folders of the XDG data directories.
    void registeredBrowser_data() {
        QTest::addColumn<QString>("settingsAnswer");
        QTest::addColumn<QString>("mimeAnswer");
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("questions");
        QTest::newRow("xdg-settings knows it") << "web.desktop"
                                               << "other.desktop"
                                               << "/usr/bin/web %u" << 1;
        QTest::newRow("xdg-mime knows it") << ""
                                           << "web.desktop"
                                           << "/usr/bin/web %u" << 2;
        QTest::newRow("in the second data dir") << "other.desktop"
                                                << ""
                                                << "/opt/other/other %U" << 1;
        QTest::newRow("none registered") << ""
                                         << ""
                                         << "" << 2;
        QTest::newRow("entry missing") << "gone.desktop"
                                       << ""
                                       << "" << 1;
        QTest::newRow("name with a path") << "../web.desktop"
                                          << ""
                                          << "" << 1;
    }
    void registeredBrowser() {
        QFETCH(QString, settingsAnswer);
        QFETCH(QString, mimeAnswer);
        QFETCH(QString, command);
        QFETCH(int, questions);
        QTemporaryDir home, first, second;
        writeFile(first.filePath("applications/web.desktop"),
                  "[Desktop Entry]\nName=Web\nExec=/usr/bin/web %u\n");
        writeFile(second.filePath("applications/other.desktop"),
                  "[Desktop Entry]\nExec=/opt/other/other %U\n");
        writeFile(first.filePath("web.desktop"), "[Desktop Entry]\nExec=/outside %u\n");
        qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
        qputenv("XDG_DATA_DIRS", (first.path() + ':' + second.path()).toLocal8Bit());

        QList<QStringList> asked;
        const auto ask = [&](const QString& program, const QStringList& arguments) {
            asked.append(QStringList{program} + arguments);
            return program == "xdg-settings" ? settingsAnswer : mimeAnswer;
        };
        QCOMPARE(registeredBrowserCommand(ask), command);
        QCOMPARE(asked.size(), questions);
        QCOMPARE(asked.first(), QStringList({"xdg-settings", "get", "default-web-browser"}));
        if (questions == 2)
            QCOMPARE(asked.last(),
                     QStringList({"xdg-mime", "query", "default", "x-scheme-handler/http"}));
    }

    // A desktop entry's command with arguments is split and its field codes replaced; a plain
    // program path is cut.
    void browserCall_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("started"); // program first, then its arguments
        QTest::newRow("flatpak") << "/usr/bin/flatpak run --branch=stable --arch=x86_64 "
                                    "--command=firefox --file-forwarding org.mozilla.firefox @@u "
                                    "%u @@"
                                 << QStringList{"/usr/bin/flatpak",
                                                "run",
                                                "--branch=stable",
                                                "--arch=x86_64",
                                                "--command=firefox",
                                                "--file-forwarding",
                                                "org.mozilla.firefox",
                                                "@@u",
                                                Address,
                                                "@@"};
        QTest::newRow("program and field code")
            << "/usr/bin/firefox-esr %u" << QStringList{"/usr/bin/firefox-esr", Address};
        QTest::newRow("bare name and field code") << "web %U" << QStringList{"web", Address};
        QTest::newRow("quoted path with a switch")
            << "\"/opt/Web Browser/web\" --new-window %U"
            << QStringList{"/opt/Web Browser/web", "--new-window", Address};
        QTest::newRow("escapes in quotes")
            << "web \"--title=\\\"A \\\\ \\$B\\`\\\"\" \"a\\xb\" %u"
            << QStringList{"web", "--title=\"A \\ $B`\"", "a\\xb", Address};
        QTest::newRow("empty quoted argument") << "web \"\" %u" << QStringList{"web", "", Address};
        QTest::newRow("other field codes dropped, percent kept")
            << "web --class %c %i %k %f --ratio=50%% %u"
            << QStringList{"web", "--class", "--ratio=50%", Address};
        QTest::newRow("field code inside an argument")
            << "web --url=%u" << QStringList{"web", "--url=" + Address};
        QTest::newRow("no field code: address last")
            << "/usr/bin/web --private" << QStringList{"/usr/bin/web", "--private", Address};
        QTest::newRow("plain program path")
            << "/usr/bin/web" << QStringList{"/usr/bin/web", Address};
        QTest::newRow("unclosed quote: cut rule")
            << "\"/opt/Web Browser/web %u" << QStringList{"\"/opt/Web Browser/web", Address};
    }
    void browserCall() {
        QFETCH(QString, command);
        QFETCH(QStringList, started);
        const ProgramCall call = ::browserCall(command, Address);
        QCOMPARE(QStringList{call.program} + call.arguments, started);
    }

    // A found browser is kept; an empty result makes the next click ask again.
    void browserKept_data() {
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<int>("lookups");
        QTest::addColumn<int>("started");
        QTest::newRow("found at once")
            << QStringList{"/usr/bin/web %u", "/usr/bin/other %u"} << 3 << 1 << 3;
        QTest::newRow("never found") << QStringList{""} << 3 << 3 << 0;
        QTest::newRow("found on the second ask")
            << QStringList{"", "/usr/bin/web %u", "/usr/bin/other %u"} << 3 << 2 << 2;
        QTest::newRow("cut down to nothing is not kept")
            << QStringList{"\"\" x", "/usr/bin/web %u"} << 2 << 2 << 1;
    }
    void browserKept() {
        QFETCH(QStringList, answers);
        QFETCH(int, clicks);
        QFETCH(int, lookups);
        QFETCH(int, started);
        FakeWorld world;
        std::atomic<int> asked = 0;
        MHyperJump module(
            [&] { return answers[std::min<qsizetype>(asked++, answers.size() - 1)]; });
        for (int click = 1; click <= clicks; ++click) {
            module.HyperJump(Address, true, world.desktop());
            QTRY_COMPARE(world.startedPrograms.size() + world.openedUrls.size(), click);
        }
        QCOMPARE(asked, lookups);
        QCOMPARE(world.startedPrograms,
                 QList<QStringList>(started, QStringList{"/usr/bin/web", Address}));
    }

    // The desktop is asked off the window's thread: a click waits for nothing, and the page
    // opens once the browser is known.
    void clickDoesNotWaitForTheLookup() {
        FakeWorld world;
        QSemaphore answer;
        std::atomic<bool> answeredInTime = false;
        MHyperJump module([&] {
            answeredInTime = answer.tryAcquire(1, 5000);
            return QStringLiteral("/usr/bin/web %u");
        });
        module.HyperJump(Address, true, world.desktop());
        QVERIFY(world.startedPrograms.isEmpty());
        answer.release();
        QTRY_COMPARE(world.startedPrograms, QList<QStringList>({{"/usr/bin/web", Address}}));
        QVERIFY(answeredInTime);
    }

    void hyperJump_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("newWindow");
        QTest::addColumn<bool>("programsStart");
        QTest::addColumn<QList<QStringList>>("started");
        QTest::addColumn<QList<QUrl>>("opened");
        const QList<QStringList> startedWeb = {{"/usr/bin/web", Address}};
        const QList<QUrl> openedAddress = {QUrl(Address)};
        QTest::newRow("browser starts")
            << "/usr/bin/web %u" << true << true << startedWeb << QList<QUrl>{};
        QTest::newRow("browser does not start, desktop opens it")
            << "/usr/bin/web %u" << true << false << startedWeb << openedAddress;
        QTest::newRow("no browser, desktop opens it")
            << "" << true << true << QList<QStringList>{} << openedAddress;
        QTest::newRow("without new window")
            << "/usr/bin/web %u" << false << true << QList<QStringList>{} << openedAddress;
    }
    void hyperJump() {
        QFETCH(QString, command);
        QFETCH(bool, newWindow);
        QFETCH(bool, programsStart);
        QFETCH(QList<QStringList>, started);
        QFETCH(QList<QUrl>, opened);
        FakeWorld world;
        world.programsStart = programsStart;
        MHyperJump module([&] { return command; });
        module.HyperJump(Address, newWindow, world.desktop());
        QTRY_COMPARE(world.openedUrls, opened);
        QTRY_COMPARE(world.startedPrograms, started);
    }
};

QTEST_MAIN(HyperJumpTest)
#include "tst_hyperjump.moc"
