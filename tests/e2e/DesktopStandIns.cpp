#include "DesktopStandIns.h"

#include <QFile>

#include <utility>

DesktopStandIns::DesktopStandIns() {
    if (!dir_.isValid())
        return;
    const QList<std::pair<QString, QByteArray>> scripts = {
        {QStringLiteral("xdg-open"),
         "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + QFile::encodeName(openedLog()) + "'\n"},
        {QStringLiteral("xdg-settings"), "#!/bin/sh\nexit 1\n"},
        {QStringLiteral("xdg-mime"), "#!/bin/sh\nexit 1\n"}};
    for (const auto& [name, text] : scripts) {
        QFile script(dir_.filePath(name));
        if (!script.open(QIODevice::WriteOnly) || script.write(text) != text.size())
            return;
        script.close();
        if (!script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
            return;
    }
    ready_ = true;
}

QString DesktopStandIns::openedLog() const {
    return dir_.filePath(QStringLiteral("opened.txt"));
}

QStringList DesktopStandIns::opened() const {
    QFile log(openedLog());
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
