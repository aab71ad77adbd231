#pragma once

class QCoreApplication;

// Qt's own texts (the context menu of a text field, the standard buttons) in German like the
// rest of the program, whatever the user's locale, from the system's Qt translations. Without
// them installed, Qt's texts stay English.
void installGermanQtTranslations(QCoreApplication& application);
