// The per-user store and the values a first start leaves in it; the language and note names
// read from it and from the system.
#include "FakeServices.h"
#include "forms/Form1.h"
#include "settings/LanguageSettings.h"

#include <QProcess>
#include <QTest>

#include <cstdio>

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

// Set in the environment of this suite started again, which then prints the system's language.
const char* const PrintLanguage = "VIRELO_TEST_PRINT_LANGUAGE";

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

    // The UI languages as QLocale::uiLanguages() lists them for the system's settings.
    void languageFollowsTheUiLanguages_data() {
        QTest::addColumn<QStringList>("uiLanguages");
        QTest::addColumn<Language>("language");
        QTest::newRow("LANGUAGE=en:de")
            << QStringList{"en", "en-Latn-US", "en-US", "de", "de-DE"} << Language::English;
        QTest::newRow("LANGUAGE=de:en")
            << QStringList{"de", "de-DE", "en", "en-US"} << Language::German;
        QTest::newRow("LANG=en_GB.UTF-8")
            << QStringList{"en-GB", "en-Latn-GB"} << Language::English;
        QTest::newRow("LANG=de_AT") << QStringList{"de-AT", "de-Latn-AT"} << Language::German;
        QTest::newRow("LANG=de_CH, underscore") << QStringList{"de_CH"} << Language::German;
        QTest::newRow("LANG=C") << QStringList{"C"} << Language::German;
        QTest::newRow("LANG=POSIX") << QStringList{"POSIX"} << Language::German;
        QTest::newRow("nothing set") << QStringList{} << Language::German;
        QTest::newRow("LANG=fr_FR")
            << QStringList{"fr-FR", "fr-Latn-FR", "fr"} << Language::English;
        QTest::newRow("LANG=ja_JP")
            << QStringList{"ja-JP", "ja-Jpan-JP", "ja"} << Language::English;
        QTest::newRow("LANGUAGE=fr:de")
            << QStringList{"fr", "fr-FR", "de", "de-DE"} << Language::German;
        QTest::newRow("LANGUAGE=fr:en:de") << QStringList{"fr", "en", "de"} << Language::English;
        // "des" is Desano, not German; "eo" is Esperanto.
        QTest::newRow("LANG=dsb_DE") << QStringList{"dsb-DE", "dsb-Latn-DE"} << Language::English;
        QTest::newRow("LANG=eo") << QStringList{"eo"} << Language::English;
    }
    void languageFollowsTheUiLanguages() {
        QFETCH(QStringList, uiLanguages);
        QTEST(languageFor(uiLanguages), "language");
    }

    // The same through the environment, as the program starts: this suite started again.
    void languageFollowsTheEnvironment_data() {
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<QString>("language");
        QTest::newRow("LANGUAGE=en:de")
            << QStringList{"LANGUAGE=en:de", "LANG=de_DE.UTF-8"} << "English";
        QTest::newRow("LANG=en_GB.UTF-8") << QStringList{"LANG=en_GB.UTF-8"} << "English";
        QTest::newRow("LANG=de_AT") << QStringList{"LANG=de_AT"} << "German";
        QTest::newRow("LANG=C") << QStringList{"LANG=C"} << "German";
        QTest::newRow("LC_ALL beats LANG")
            << QStringList{"LC_ALL=de_DE.UTF-8", "LANG=en_US.UTF-8"} << "German";
        QTest::newRow("LANG=fr_FR.UTF-8") << QStringList{"LANG=fr_FR.UTF-8"} << "English";
    }
    void languageFollowsTheEnvironment() {
        QFETCH(QStringList, environment);
        QProcessEnvironment variables;
        variables.insert(PrintLanguage, "1");
        variables.insert("QT_QPA_PLATFORM", "offscreen");
        for (const QString& variable : environment)
            variables.insert(variable.section('=', 0, 0), variable.section('=', 1));
        QProcess suite;
        suite.setProcessEnvironment(variables);
        suite.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(suite.waitForFinished(30000));
        QTEST(QString::fromLatin1(suite.readAllStandardOutput()), "language");
    }

    // Absent or not understood: the system's language, note names after the language shown.
    void languageSettingsRead_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("letters");
        QTest::addColumn<QString>("octaves");
        QTest::addColumn<Language>("shownOnGermanSystem");
        QTest::addColumn<QString>("nameOfB4");
        QTest::newRow("absent") << ""
                                << ""
                                << "" << Language::German << "h'";
        QTest::newRow("junk") << "Klingonisch"
                              << "griechisch"
                              << "römisch" << Language::German << "h'";
        QTest::newRow("English") << "English"
                                 << ""
                                 << "" << Language::English << "B4";
        QTest::newRow("English, German letters") << "English"
                                                 << "deutsch"
                                                 << "" << Language::English << "H4";
        QTest::newRow("German, solfège, scientific")
            << "Deutsch"
            << "Solmisation"
            << "wissenschaftlich" << Language::German << "Si4";
        QTest::newRow("system, English letters, Helmholtz")
            << "System"
            << "englisch"
            << "Helmholtz" << Language::German << "b'";
        QTest::newRow("wrong case") << "english"
                                    << "Englisch"
                                    << "helmholtz" << Language::German << "h'";
    }
    void languageSettingsRead() {
        QFETCH(QString, language);
        QFETCH(QString, letters);
        QFETCH(QString, octaves);
        QFETCH(Language, shownOnGermanSystem);
        SettingsStore store;
        for (auto [key, value] :
             {std::pair{"Sprache", language}, {"Notennamen", letters}, {"Oktaven", octaves}})
            if (!value.isEmpty())
                store.SaveSetting(Einstellungen, key, value);
        const LanguageSettings read = readLanguageSettings(store);
        const Language shown = shownLanguage(read.language, Language::German);
        QCOMPARE(shown, shownOnGermanSystem);
        QTEST(noteName(SpelledNote{34, 0}, namingStyleFor(read, shown)), "nameOfB4");
    }
};

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsSet(PrintLanguage)) {
        QCoreApplication application(argc, argv);
        std::fputs(systemLanguage() == Language::German ? "German" : "English", stdout);
        return 0;
    }
    QApplication application(argc, argv);
    SettingsStoreTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_settingsstore.moc"
