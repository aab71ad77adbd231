#include "help/RegisteredBrowser.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace {

constexpr int QueryTimeoutMs = 3000;

// String values of desktop entries escape these characters with a backslash.
QString unescape(const QString& value) {
    QString result;
    result.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != u'\\' || i + 1 == value.size()) {
            result += value[i];
            continue;
        }
        switch (value[++i].unicode()) {
        case u's':
            result += u' ';
            break;
        case u'n':
            result += u'\n';
            break;
        case u't':
            result += u'\t';
            break;
        case u'r':
            result += u'\r';
            break;
        default:
            result += value[i];
        }
    }
    return result;
}

QString registeredEntry(const CommandOutput& ask) {
    const QString entry = ask(QStringLiteral("xdg-settings"),
                              {QStringLiteral("get"), QStringLiteral("default-web-browser")});
    if (!entry.isEmpty())
        return entry;
    return ask(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"),
                                            QStringLiteral("x-scheme-handler/http")});
}

} // namespace

QString runForOutput(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments, QIODevice::ReadOnly);
    if (!process.waitForFinished(QueryTimeoutMs) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

QString registeredBrowserCommand(const CommandOutput& ask) {
    const QString entry = registeredEntry(ask);
    if (entry.isEmpty() || entry.contains(u'/'))
        return {};
    const QString path = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, entry);
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return desktopEntryExec(QString::fromUtf8(file.readAll()));
}

QString desktopEntryExec(const QString& text) {
    bool inMainGroup = false;
    for (const QStringView line : QStringView(text).split(u'\n')) {
        const QStringView trimmed = line.trimmed();
        if (trimmed.startsWith(u'[')) {
            inMainGroup = trimmed == u"[Desktop Entry]";
            continue;
        }
        if (!inMainGroup || trimmed.startsWith(u'#'))
            continue;
        const qsizetype equals = trimmed.indexOf(u'=');
        if (equals > 0 && trimmed.left(equals).trimmed() == u"Exec")
            return unescape(trimmed.mid(equals + 1).trimmed().toString());
    }
    return {};
}
