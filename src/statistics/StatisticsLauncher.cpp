#include "statistics/StatisticsLauncher.h"

#include "settings/SettingsStore.h"
#include "statistics/StatisticsEntry.h"
#include "widgets/WindowPlacement.h"

#include <QDir>
#include <QEvent>
#include <QLibrary>
#include <QWidget>

namespace {

// Where the learner last left the window: Qt's own record of a window's place and size.
const QString PlaceSection = QStringLiteral("Statistik");
const QString PlaceKey = QStringLiteral("Fenster");

// The narrowest and lowest the window still reads well at: beside a main window centred on a
// 1920 × 1080 screen there is room for about 580 pixels.
constexpr QSize LeastSize(560, 600);

} // namespace

StatisticsLauncher::StatisticsLauncher(QString libraryFile, QString historyFile,
                                       SettingsStore& settings, MessageFunction message)
    : m_libraryFile(std::move(libraryFile)), m_historyFile(std::move(historyFile)),
      m_settings(settings), m_message(std::move(message)) {}

// The window has no owner of its own; it goes with the program.
StatisticsLauncher::~StatisticsLauncher() {
    if (m_window && m_window->isVisible())
        keepPlace();
    delete m_window;
}

QString StatisticsLauncher::libraryBeside(const QString& programDir) {
    return QDir(programDir).filePath(QString::fromLatin1(StatisticsLibraryName));
}

QWidget* StatisticsLauncher::createWindow(QWidget* owner) {
    QLibrary library(m_libraryFile);
    QString problem;
    if (!library.load()) {
        problem = tr("Die Datei „%1“ fehlt oder kann nicht geladen werden.")
                      .arg(QDir::toNativeSeparators(library.fileName()));
    } else if (const auto create = reinterpret_cast<CreateStatisticsWindow>(
                   library.resolve(CreateStatisticsWindowSymbol))) {
        return create(m_historyFile, namingStyle());
    } else {
        problem = tr("Die Datei „%1“ gehört zu einer anderen Version des Programms.")
                      .arg(QDir::toNativeSeparators(library.fileName()));
    }
    m_message(owner, tr("Die Statistik kann nicht geöffnet werden:\n%1").arg(problem),
              tr("Hinweis"), MessageIcon::Warning);
    return nullptr;
}

void StatisticsLauncher::open(QWidget* owner) {
    if (!m_window) {
        m_window = createWindow(owner);
        if (!m_window)
            return;
        m_window->installEventFilter(this);
        place(owner);
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

// Where the learner left it, kept on the screen; the first time beside the owner.
void StatisticsLauncher::place(QWidget* owner) {
    const QByteArray kept =
        QByteArray::fromBase64(m_settings.GetSetting(PlaceSection, PlaceKey).toLatin1());
    if (!kept.isEmpty() && m_window->restoreGeometry(kept))
        return;
    if (owner)
        placeBeside(*m_window, *owner, LeastSize);
    else
        centreOnScreen(*m_window);
}

void StatisticsLauncher::keepPlace() {
    m_settings.SaveSetting(PlaceSection, PlaceKey,
                           QString::fromLatin1(m_window->saveGeometry().toBase64()));
}

bool StatisticsLauncher::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window && event->type() == QEvent::Hide && !event->spontaneous())
        keepPlace();
    return false;
}

void StatisticsLauncher::refresh() {
    if (m_window && m_window->isVisible())
        QMetaObject::invokeMethod(m_window, "refresh", Qt::QueuedConnection);
}
