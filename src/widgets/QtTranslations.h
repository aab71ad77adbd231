#pragma once

#include <QString>
#include <QStringList>

class QCoreApplication;

// The languages the program speaks. German is its own: the texts in the code are German.
enum class Language { German, English };

// The language for a list of the learner's UI languages, most wanted first (as
// QLocale::uiLanguages() gives them): German where German comes before English, and for a list
// that names only the C or POSIX locale; English for every other language, since a French or a
// Japanese learner reads English sooner than German.
Language languageFor(const QStringList& uiLanguages);
// The same for the system's settings (LANGUAGE, LC_ALL, LC_MESSAGES, LANG).
Language systemLanguage();

// Installs the program's texts in the given language (virelo_<code>.qm from the program's
// folder; German needs none) and Qt's own texts (the context menu of a text field, the standard
// buttons) from the system's Qt translations. Without those installed, Qt's texts stay English.
void installTranslations(QCoreApplication& application, Language language,
                         const QString& programDir);
