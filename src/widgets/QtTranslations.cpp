#include "widgets/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

bool names(const QString& uiLanguage, const QString& language) {
    return uiLanguage == language || uiLanguage.startsWith(language + QLatin1Char('-')) ||
           uiLanguage.startsWith(language + QLatin1Char('_'));
}

bool isCLocale(const QString& uiLanguage) {
    return uiLanguage == QLatin1String("C") || uiLanguage == QLatin1String("POSIX") ||
           uiLanguage.startsWith(QLatin1String("C.")) || uiLanguage.startsWith(QLatin1String("C-"));
}

void install(QCoreApplication& application, const QString& name, const QString& folder) {
    auto* translator = new QTranslator(&application);
    if (translator->load(name, folder))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace

Language languageFor(const QStringList& uiLanguages) {
    bool onlyC = true;
    for (const QString& uiLanguage : uiLanguages) {
        if (names(uiLanguage, QStringLiteral("de")))
            return Language::German;
        if (names(uiLanguage, QStringLiteral("en")))
            return Language::English;
        onlyC = onlyC && isCLocale(uiLanguage);
    }
    return onlyC ? Language::German : Language::English;
}

Language systemLanguage() {
    return languageFor(QLocale::system().uiLanguages());
}

void installTranslations(QCoreApplication& application, Language language,
                         const QString& programDir) {
    const QString qtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (language == Language::German) {
        install(application, QStringLiteral("qtbase_de"), qtFolder);
        return;
    }
    install(application, QStringLiteral("virelo_en"), programDir);
    install(application, QStringLiteral("qtbase_en"), qtFolder);
}
