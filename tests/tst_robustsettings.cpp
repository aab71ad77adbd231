// A settings file or folder in a bad way: the program still starts, shows what it can, refuses
// times it cannot use, and runs an exercise with usable ones.
#include "FakeServices.h"
#include "forms/Form1.h"
#include "settings/frmEinstellungen.h"
#include "training/TimeText.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <optional>

#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

const QString Einstellungen = QStringLiteral("Einstellungen");

struct Opening {
    QString shownVorbei;
    QString shownWeg;
    QString shownNotesPerTask;
    int refusals = 0;
};

// Opens the dialog, ticks a range and starts; a refused time is replaced by a typed "3".
Opening startThroughDialog(FakeWorld& world, Form1& form) {
    Opening opening;
    world.onDialog = [&](QDialog& d) {
        auto& dialog = static_cast<frmEinstellungen&>(d);
        opening.shownVorbei = dialog.txtZeitVorbei->text();
        opening.shownWeg = dialog.txtZeitWeg->text();
        opening.shownNotesPerTask = dialog.cboNotenProAufgabe->currentText();
        dialog.chkTonViolin[2]->click();
        dialog.chkTonViolin[9]->click();
        for (int attempt = 0; attempt < 3 && world.exercise.state() == ExerciseState::Choosing;
             ++attempt) {
            const qsizetype before = world.messages.size();
            dialog.cmdOk->click();
            opening.refusals += int(world.messages.size() - before);
            for (const auto& [field, factor] :
                 {std::pair(dialog.txtZeitWeg, 1000), std::pair(dialog.txtZeitVorbei, 100)})
                if (!convertTimeText(field->text(), factor)) {
                    field->selectAll();
                    QTest::keyClick(field, '3');
                }
        }
    };
    form.cmdViolin->click();
    return opening;
}

QByteArray junk(int size) {
    QByteArray bytes(size, '\0');
    QRandomGenerator generator(542);
    for (char& byte : bytes)
        byte = char(generator.bounded(256));
    return bytes;
}

// A folder that nobody can write into while this object lives. Its permissions bind an ordinary
// user; the superuser ignores them and is bound by a read-only mount of the folder instead, made
// in a mount namespace of this thread's own, which nothing outside sees.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString& path) : m_path(QFile::encodeName(path)) {
        if (::geteuid() != 0) {
            m_made = QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            return;
        }
        m_mounted = ::unshare(CLONE_NEWNS) == 0 &&
                    ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                    ::mount(m_path.constData(), m_path.constData(), nullptr, MS_BIND, nullptr) == 0;
        m_made = m_mounted && ::mount(nullptr, m_path.constData(), nullptr,
                                      MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }
    ~ReadOnlyFolder() {
        if (m_mounted)
            ::umount2(m_path.constData(), MNT_DETACH);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    bool made() const { return m_made; }

private:
    QByteArray m_path;
    bool m_mounted = false;
    bool m_made = false;
};

} // namespace

class RobustSettingsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }

    void damagedFile_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("shownVorbei");
        QTest::addColumn<QString>("shownWeg");
        QTest::addColumn<QString>("refusedField"); // empty: the stored times are usable
        QTest::addColumn<int>("notesPerTask");     // shown, handed to the exercise and saved

        const QByteArray started = "[Reg]\nStarted=1\n[Einstellungen]\n";
        // Without the marker the first-start times replace whatever could be read.
        QTest::newRow("empty") << QByteArray() << "9"
                               << "9"
                               << "" << 1;
        QTest::newRow("binary junk") << junk(4096) << "9"
                                     << "9"
                                     << "" << 1;
        QTest::newRow("cut in a key") << started + "Zeitvorbei=3\nZeitw"
                                      << "3"
                                      << "2"
                                      << "" << 1;
        QTest::newRow("cut in a section name") << QByteArray("[Reg]\nStarted=1\n[Einst") << "4"
                                               << "2"
                                               << "" << 1;
        QTest::newRow("junk after the values")
            << started + "Zeitvorbei=5\nZeitweg=1\n" + junk(300) << "5"
            << "1"
            << "" << 1;
        QTest::newRow("absurd number") << started + "Zeitvorbei=99999999\nZeitweg=1"
                                       << "99999999"
                                       << "1"
                                       << "Zeit pro Note" << 1;
        QTest::newRow("letters") << started + "Zeitvorbei=5\nZeitweg=abc"
                                 << "5"
                                 << "abc"
                                 << "Note verschwindet nach" << 1;
        QTest::newRow("negative") << started + "Zeitvorbei=-1\nZeitweg=1"
                                  << "-1"
                                  << "1"
                                  << "Zeit pro Note" << 1;
        QTest::newRow("infinite") << started + "Zeitvorbei=inf\nZeitweg=1"
                                  << "inf"
                                  << "1"
                                  << "Zeit pro Note" << 1;
        // Shown whole, so that what is stored can be seen and replaced.
        const QString long7 = QString(10000, u'7');
        QTest::newRow("10,000 characters") << started + "Zeitvorbei=" + long7.toLatin1() + "\n"
                                           << long7 << "2"
                                           << "Zeit pro Note" << 1;
        // Anything but 1, 4 or 8 notes per task is one.
        const QByteArray phrases = "[Reg]\nStarted=1\n[Phrasen]\nNotenProAufgabe=";
        for (const auto& [stored, notes] : {std::pair{"4", 4},
                                            {"8", 8},
                                            {"abc", 1},
                                            {"0", 1},
                                            {"5", 1},
                                            {"-4", 1},
                                            {"", 1},
                                            {"99999999999", 1},
                                            {"4.0", 1}})
            QTest::addRow("notes per task \"%s\"", stored) << phrases + stored << "4"
                                                           << "2"
                                                           << "" << notes;
    }
    void damagedFile() {
        QFETCH(QByteArray, content);
        QFETCH(QString, shownVorbei);
        QFETCH(QString, shownWeg);
        QFETCH(QString, refusedField);
        QFETCH(int, notesPerTask);
        const QString path = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".ini");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();

        FakeWorld world;
        world.store = std::make_unique<SettingsStore>(path);
        Form1 form(world.exercise, world.services());
        const Opening opening = startThroughDialog(world, form);

        QCOMPARE(opening.shownVorbei, shownVorbei);
        QCOMPARE(opening.shownWeg, shownWeg);
        QCOMPARE(opening.shownNotesPerTask, QString::number(notesPerTask));
        QCOMPARE(opening.refusals, refusedField.isEmpty() ? 0 : 1);
        if (!refusedField.isEmpty()) {
            const QString& refusal = world.messages.first().text;
            QCOMPARE(world.messages.first().title, QString("Fehler"));
            QVERIFY2(refusal.contains(refusedField), qPrintable(refusal));
            // The message quotes only the start of a long text.
            QVERIFY2(refusal.size() < 150, qPrintable(refusal.left(200)));
        }
        QCOMPARE(world.exercise.state(), ExerciseState::Running);
        QCOMPARE(world.exercise.lowest(), 2);
        QCOMPARE(world.exercise.highest(), 9);
        QCOMPARE(world.exercise.notesPerTask(), notesPerTask);
        QCOMPARE(world.player.played.size(), notesPerTask == 1 ? 1 : 0); // a read phrase waits

        // The times of this start reached the file, and saving into it again is reported so.
        QVERIFY(world.store->SaveSetting(Einstellungen, "Zeitweg", "4"));
        SettingsStore reopened(path);
        QCOMPARE(reopened.GetSetting(Einstellungen, "Zeitvorbei"),
                 convertTimeText(shownVorbei, 100) ? shownVorbei : QString("3"));
        QCOMPARE(reopened.GetSetting(Einstellungen, "Zeitweg"), QString("4"));
        QCOMPARE(reopened.GetSetting("Phrasen", "NotenProAufgabe"), QString::number(notesPerTask));
    }

    void unwritableFolder_data() {
        QTest::addColumn<QString>("iniFile");
        QTest::addColumn<bool>("readOnlyFolder");
        QFile plain(m_dir.filePath("plain"));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        QVERIFY(QDir(m_dir.path()).mkpath("folder.ini"));
        QVERIFY(QDir(m_dir.path()).mkpath("readonly"));
        QTest::newRow("folder that cannot be made")
            << m_dir.filePath("plain/config/virel542.ini") << false;
        QTest::newRow("settings file is a folder") << m_dir.filePath("folder.ini") << false;
        QTest::newRow("read-only folder") << m_dir.filePath("readonly/virel542.ini") << true;
    }
    void unwritableFolder() {
        QFETCH(QString, iniFile);
        QFETCH(bool, readOnlyFolder);
        std::optional<ReadOnlyFolder> readOnly;
        if (readOnlyFolder) {
            readOnly.emplace(QFileInfo(iniFile).path());
            QVERIFY2(readOnly->made(), "the folder could not be made read-only");
        }
        FakeWorld world;
        world.store = std::make_unique<SettingsStore>(iniFile);
        Form1 form(world.exercise, world.services());
        world.onDialog = [&](QDialog& d) {
            auto& dialog = static_cast<frmEinstellungen&>(d);
            dialog.chkTonViolin[0]->click();
            dialog.chkTonViolin[4]->click();
            dialog.txtZeitVorbei->selectAll();
            QTest::keyClick(dialog.txtZeitVorbei, '5');
            dialog.cmdOk->click();
        };
        form.cmdViolin->click();

        QVERIFY(!world.store->SaveSetting(Einstellungen, "Zeitweg", "1"));
        QCOMPARE(world.exercise.state(), ExerciseState::Running);
        QCOMPARE(world.exercise.zeitVorbei(), 500);
        QCOMPARE(world.player.played.size(), 1);
        // The learner is told once, before the first note, that the times are not kept.
        const auto notices = [&] {
            return std::count_if(world.messages.begin(), world.messages.end(),
                                 [](const ShownMessage& m) { return m.title == "Hinweis"; });
        };
        QCOMPARE(world.messages.size(), 1);
        QCOMPARE(notices(), 1);
        QVERIFY2(world.messages.first().text.contains(QDir::toNativeSeparators(iniFile)),
                 qPrintable(world.messages.first().text));

        form.cmdÜbungAbbrechen->click();
        form.cmdViolin->click();
        QCOMPARE(world.exercise.state(), ExerciseState::Running);
        QCOMPARE(notices(), 1);
    }
};

QTEST_MAIN(RobustSettingsTest)
#include "tst_robustsettings.moc"
