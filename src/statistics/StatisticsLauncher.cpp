#include "statistics/StatisticsLauncher.h"

#include "statistics/StatisticsEntry.h"
#include "widgets/WindowPlacement.h"

#include <QDir>
#include <QLibrary>
#include <QWidget>

StatisticsLauncher::StatisticsLauncher(QString libraryFile, QString historyFile,
                                       MessageFunction message)
    : m_libraryFile(std::move(libraryFile)), m_historyFile(std::move(historyFile)),
      m_message(std::move(message)) {}

// The window has no owner of its own; it goes with the program.
StatisticsLauncher::~StatisticsLauncher() {
    delete m_window;
}

QString StatisticsLauncher::libraryBeside(const QString& programDir) {
    return QDir(programDir).filePath(QString::fromLatin1(StatisticsLibraryName));
}

void StatisticsLauncher::open(QWidget* owner) {
    if (!m_window) {
        QLibrary library(m_libraryFile);
        const auto create =
            reinterpret_cast<CreateStatisticsWindow>(library.resolve(CreateStatisticsWindowSymbol));
        if (!create) {
            m_message(
                owner,
                tr("Die Statistik kann nicht geöffnet werden:\n%1").arg(library.errorString()),
                tr("Hinweis"), MessageIcon::Warning);
            return;
        }
        m_window = create(m_historyFile, namingStyle());
        centreOnScreen(*m_window, owner);
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void StatisticsLauncher::refresh() {
    if (m_window && m_window->isVisible())
        QMetaObject::invokeMethod(m_window, "refresh", Qt::QueuedConnection);
}
