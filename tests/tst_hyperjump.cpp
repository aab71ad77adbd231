// Finding the registered web browser and opening the home page in it.
#include "FakeServices.h"
#include "help/MHyperJump.h"
#include "help/RegisteredBrowser.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

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

    // A found browser is kept; an empty result makes the next call ask again.
    void browserPathCache_data() {
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<int>("calls");
        QTest::addColumn<int>("lookups");
        QTest::addColumn<QString>("path");
        QTest::newRow("found at once")
            << QStringList{"/usr/bin/web %u", "/usr/bin/other %u"} << 3 << 1 << "/usr/bin/web";
        QTest::newRow("never found") << QStringList{""} << 3 << 3 << "";
        QTest::newRow("found on the second ask")
            << QStringList{"", "/usr/bin/web %u", "/usr/bin/other %u"} << 3 << 2 << "/usr/bin/web";
        QTest::newRow("cut down to nothing is not kept")
            << QStringList{"\"\" x", "/usr/bin/web %u"} << 2 << 2 << "/usr/bin/web";
    }
    void browserPathCache() {
        QFETCH(QStringList, answers);
        QFETCH(int, calls);
        QFETCH(int, lookups);
        QFETCH(QString, path);
        int asked = 0;
        MHyperJump module(
            [&] { return answers[std::min<qsizetype>(asked++, answers.size() - 1)]; });
        QString result;
        for (int i = 0; i < calls; ++i)
            result = module.BrowserPath();
        QCOMPARE(result, path);
        QCOMPARE(asked, lookups);
    }

    void hyperJump_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("newWindow");
        QTest::addColumn<bool>("programsStart");
        QTest::addColumn<bool>("urlsOpen");
        QTest::addColumn<QList<QStringList>>("started");
        QTest::addColumn<QList<QUrl>>("opened");
        QTest::addColumn<bool>("result");
        const QList<QStringList> startedWeb = {{"/usr/bin/web", Address}};
        const QList<QUrl> openedAddress = {QUrl(Address)};
        QTest::newRow("browser starts")
            << "/usr/bin/web %u" << true << true << true << startedWeb << QList<QUrl>{} << true;
        QTest::newRow("browser does not start, desktop opens it")
            << "/usr/bin/web %u" << true << false << true << startedWeb << openedAddress << true;
        QTest::newRow("no browser, desktop opens it")
            << "" << true << true << true << QList<QStringList>{} << openedAddress << true;
        QTest::newRow("nothing takes it")
            << "" << true << true << false << QList<QStringList>{} << openedAddress << false;
        QTest::newRow("without new window") << "/usr/bin/web %u" << false << true << true
                                            << QList<QStringList>{} << openedAddress << true;
    }
    void hyperJump() {
        QFETCH(QString, command);
        QFETCH(bool, newWindow);
        QFETCH(bool, programsStart);
        QFETCH(bool, urlsOpen);
        QFETCH(QList<QStringList>, started);
        QFETCH(QList<QUrl>, opened);
        QFETCH(bool, result);
        FakeWorld world;
        world.programsStart = programsStart;
        world.urlsOpen = urlsOpen;
        MHyperJump module([&] { return command; });
        QCOMPARE(module.HyperJump(Address, newWindow, world.services()), result);
        QCOMPARE(world.startedPrograms, started);
        QCOMPARE(world.openedUrls, opened);
    }
};

QTEST_MAIN(HyperJumpTest)
#include "tst_hyperjump.moc"
