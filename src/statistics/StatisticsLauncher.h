#pragma once

#include "widgets/MessageBox.h"

#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

// Opens the statistics window from its own library, loaded only when the window is first asked
// for, so that its chart library never slows the start. One window; asked again, it comes up.
class StatisticsLauncher : public QObject {
    Q_OBJECT

public:
    StatisticsLauncher(QString libraryFile, QString historyFile, MessageFunction message);
    ~StatisticsLauncher() override;

    void open(QWidget* owner);
    // A task was recorded: an open window shows it.
    void refresh();

    // The window's library beside the program.
    static QString libraryBeside(const QString& programDir);

private:
    QString m_libraryFile;
    QString m_historyFile;
    MessageFunction m_message;
    QPointer<QWidget> m_window;
};
