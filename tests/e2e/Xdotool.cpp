#include "Xdotool.h"

#include <QProcess>
#include <QRegularExpression>

namespace xdotool {

namespace {

std::optional<QString> run(const QStringList& arguments) {
    QProcess process;
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(QStringLiteral("xdotool"), arguments);
    if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return std::nullopt;
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

} // namespace

QList<quint64> visibleWindows(const QString& titlePattern) {
    QList<quint64> windows;
    // Finding nothing counts as a failure to xdotool.
    const std::optional<QString> output =
        run({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
             titlePattern});
    if (!output)
        return windows;
    for (const QString& line : output->split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        windows.append(line.trimmed().toULongLong());
    return windows;
}

std::optional<QRect> geometry(quint64 window) {
    const std::optional<QString> output = run(
        {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), QString::number(window)});
    if (!output)
        return std::nullopt;
    QRect rect;
    static const QRegularExpression assignment(QStringLiteral("^(X|Y|WIDTH|HEIGHT)=(-?\\d+)$"),
                                               QRegularExpression::MultilineOption);
    int found = 0;
    for (const QRegularExpressionMatch& match : assignment.globalMatch(*output)) {
        const int value = match.captured(2).toInt();
        const QString name = match.captured(1);
        if (name == QStringLiteral("X"))
            rect.moveLeft(value);
        else if (name == QStringLiteral("Y"))
            rect.moveTop(value);
        else if (name == QStringLiteral("WIDTH"))
            rect.setWidth(value);
        else
            rect.setHeight(value);
        ++found;
    }
    if (found != 4)
        return std::nullopt;
    return rect;
}

quint64 focusedWindow() {
    const std::optional<QString> output = run({QStringLiteral("getwindowfocus")});
    return output ? output->trimmed().toULongLong() : 0;
}

bool click(quint64 window, QPoint point) {
    return run({QStringLiteral("mousemove"), QStringLiteral("--window"), QString::number(window),
                QString::number(point.x()), QString::number(point.y()), QStringLiteral("click"),
                QStringLiteral("1")})
        .has_value();
}

bool key(const QString& keys) {
    return run({QStringLiteral("key"), keys}).has_value();
}

bool type(const QString& text) {
    return run({QStringLiteral("type"), text}).has_value();
}

} // namespace xdotool
