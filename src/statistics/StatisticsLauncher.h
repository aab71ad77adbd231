#pragma once

#include "widgets/MessageBox.h"

#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;
class SettingsStore;

// Opens the statistics window from its own library, loaded only when the window is first asked
// for, so that its chart library never slows the start. One window; asked again, it comes up.
// It first opens beside its owner, later where the learner last left it, kept in `settings`.
class StatisticsLauncher : public QObject {
    Q_OBJECT

public:
    StatisticsLauncher(QString libraryFile, QString historyFile, SettingsStore& settings,
                       MessageFunction message);
    ~StatisticsLauncher() override;

    void open(QWidget* owner);
    // A task was recorded: an open window shows it.
    void refresh();

    // The window's library beside the program.
    static QString libraryBeside(const QString& programDir);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* createWindow(QWidget* owner);
    void place(QWidget* owner);
    void keepPlace();

    QString m_libraryFile;
    QString m_historyFile;
    SettingsStore& m_settings;
    MessageFunction m_message;
    QPointer<QWidget> m_window;
};
