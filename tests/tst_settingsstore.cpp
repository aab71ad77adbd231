// The per-user store and the values a first start leaves in it.
#include "FakeServices.h"
#include "forms/Form1.h"

#include <QTest>

namespace {

const QString Reg = QStringLiteral("Reg");
const QString Einstellungen = QStringLiteral("Einstellungen");

QMap<QString, QString> storedValues() {
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, SettingsApplication);
    QMap<QString, QString> values;
    for (const QString& key : settings.allKeys())
        values.insert(key, settings.value(key).toString());
    return values;
}

} // namespace

class SettingsStoreTest : public QObject {
    Q_OBJECT

private slots:
    void init() { clearStore(); }

    void absentKeyReadsEmpty() {
        SettingsStore store;
        QCOMPARE(store.GetSetting(Reg, "Started"), QString());
        QCOMPARE(store.GetSetting("NoSuchSection", "x"), QString());
    }

    void valuesAreTextsKeptAsTheyAre_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("letters") << "abc";
        QTest::newRow("decimal comma") << "0,125";
        QTest::newRow("leading at sign") << "@Variant(junk)";
        QTest::newRow("long") << QString(10000, 'x');
        QTest::newRow("umlaut") << "Gehör";
    }
    void valuesAreTextsKeptAsTheyAre() {
        QFETCH(QString, text);
        {
            SettingsStore store;
            QVERIFY(store.SaveSetting(Einstellungen, "Zeitweg", text));
        }
        SettingsStore reopened;
        QCOMPARE(reopened.GetSetting(Einstellungen, "Zeitweg"), text);
    }

    void handEditedCommaValueReadsWhole() {
        SettingsStore store;
        QFile file(store.fileName());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Einstellungen]\nZeitvorbei=0,125\n");
        file.close();
        SettingsStore reopened(store.fileName());
        QCOMPARE(reopened.GetSetting(Einstellungen, "Zeitvorbei"), QString("0,125"));
    }

    void firstStartWritesExactlyFiveValues() {
        FakeWorld world;
        Form1 form(world.exercise, world.services());
        const QMap<QString, QString> expected = {{"Reg/Started", "1"},
                                                 {"Reg/apppath", "/opt/virelo"},
                                                 {"Einstellungen/Zeitweg", "9"},
                                                 {"Einstellungen/Zeitvorbei", "9"},
                                                 {"Einstellungen/ZeitFehlerweg", "4"}};
        QCOMPARE(storedValues(), expected);
    }

    void laterStartKeepsSavedTimes() {
        {
            FakeWorld world;
            Form1 first(world.exercise, world.services());
        }
        SettingsStore store;
        store.SaveSetting(Einstellungen, "Zeitweg", "3");
        store.SaveSetting(Reg, "apppath", "/old/folder");
        FakeWorld world;
        Form1 second(world.exercise, world.services());
        QCOMPARE(storedValues().value("Einstellungen/Zeitweg"), QString("3"));
        QCOMPARE(storedValues().value("Reg/apppath"), QString("/old/folder"));
    }

    void markerDecidesFirstStart_data() {
        QTest::addColumn<QString>("marker");
        QTest::addColumn<bool>("firstStart");
        QTest::newRow("1") << "1" << false;
        QTest::newRow("1 with spaces") << " 1 " << false;
        QTest::newRow("01") << "01" << false;
        QTest::newRow("2") << "2" << true;
        QTest::newRow("empty") << "" << true;
        QTest::newRow("letters") << "ja" << true;
    }
    void markerDecidesFirstStart() {
        QFETCH(QString, marker);
        QFETCH(bool, firstStart);
        SettingsStore store;
        store.SaveSetting(Reg, "Started", marker);
        store.SaveSetting(Einstellungen, "Zeitweg", "5");
        FakeWorld world;
        Form1 form(world.exercise, world.services());
        QCOMPARE(store.GetSetting(Einstellungen, "Zeitweg"), firstStart ? "9" : "5");
        QCOMPARE(store.GetSetting(Reg, "Started"), firstStart ? "1" : marker);
    }
};

QTEST_MAIN(SettingsStoreTest)
#include "tst_settingsstore.moc"
