#include "Xdotool.h"

#include <QHash>
#include <QProcess>
#include <QRegularExpression>

namespace xdotool {

namespace {

std::optional<QString> run(const QStringList& arguments, int milliseconds = 10000,
                           const QString& program = QStringLiteral("xdotool")) {
    QProcess process;
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForFinished(milliseconds) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return std::nullopt;
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

// The windows described by "getwindowgeometry --shell" (WINDOW=, X=, Y=, WIDTH=, HEIGHT=
// lines for each); the other lines, in order, into `rest`.
QList<ShownWindow> parseGeometries(const QString& output, QStringList& rest) {
    static const QRegularExpression assignment(
        QStringLiteral("^(WINDOW|X|Y|WIDTH|HEIGHT|SCREEN)=(-?\\d+)$"));
    QList<ShownWindow> windows;
    for (const QString& line : output.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch match = assignment.match(line);
        if (!match.hasMatch()) {
            rest.append(line);
            continue;
        }
        const QString name = match.captured(1);
        const int value = match.captured(2).toInt();
        if (name == QStringLiteral("WINDOW"))
            windows.append({match.captured(2).toULongLong(), {}, {}});
        else if (windows.isEmpty() || name == QStringLiteral("SCREEN"))
            continue;
        else if (name == QStringLiteral("X"))
            windows.last().frame.moveLeft(value);
        else if (name == QStringLiteral("Y"))
            windows.last().frame.moveTop(value);
        else if (name == QStringLiteral("WIDTH"))
            windows.last().frame.setWidth(value);
        else
            windows.last().frame.setHeight(value);
    }
    return windows;
}

// xdotool counts a framed window's offset in its frame twice; xwininfo tells where the client
// area of each window lies on the screen, at the end of each line of its tree.
QHash<quint64, QPoint> screenPositions() {
    static const QRegularExpression line(
        QStringLiteral("^\\s*(0x[0-9a-f]+) .*\\s\\+(-?\\d+)\\+(-?\\d+)\\s*$"));
    const std::optional<QString> output =
        run({QStringLiteral("-root"), QStringLiteral("-tree")}, 10000, QStringLiteral("xwininfo"));
    QHash<quint64, QPoint> positions;
    if (!output)
        return positions;
    for (const QString& text : output->split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch match = line.match(text);
        if (match.hasMatch())
            positions.insert(match.captured(1).toULongLong(nullptr, 16),
                             {match.captured(2).toInt(), match.captured(3).toInt()});
    }
    return positions;
}

// The same for one window, from "Absolute upper-left X:  269" and its Y line.
std::optional<QPoint> screenPosition(quint64 window) {
    static const QRegularExpression corner(
        QStringLiteral("Absolute upper-left ([XY]):\\s+(-?\\d+)"));
    const std::optional<QString> output =
        run({QStringLiteral("-id"), QString::number(window)}, 10000, QStringLiteral("xwininfo"));
    if (!output)
        return std::nullopt;
    QPoint point;
    int found = 0;
    for (auto match = corner.globalMatch(*output); match.hasNext(); ++found) {
        const QRegularExpressionMatch side = match.next();
        (side.captured(1) == QStringLiteral("X") ? point.rx() : point.ry()) =
            side.captured(2).toInt();
    }
    return found == 2 ? std::optional(point) : std::nullopt;
}

} // namespace

QList<ShownWindow> shownWindows() {
    const std::optional<QString> output =
        run({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
             QStringLiteral("."), QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"),
             QStringLiteral("%@"), QStringLiteral("getwindowname"), QStringLiteral("%@")});
    if (!output)
        return {};
    // First each window's geometry, then the titles in the same order.
    QStringList titles;
    QList<ShownWindow> windows = parseGeometries(*output, titles);
    if (titles.size() != windows.size())
        return {};
    const QHash<quint64, QPoint> positions = screenPositions();
    for (qsizetype i = 0; i < windows.size(); ++i) {
        windows[i].title = titles[i];
        if (positions.contains(windows[i].id))
            windows[i].frame.moveTopLeft(positions.value(windows[i].id));
    }
    return windows;
}

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
    QStringList rest;
    const QList<ShownWindow> windows = parseGeometries(*output, rest);
    if (windows.size() != 1 || windows.constFirst().frame.isEmpty())
        return std::nullopt;
    const std::optional<QPoint> position = screenPosition(window);
    if (!position)
        return std::nullopt;
    return QRect(*position, windows.constFirst().frame.size());
}

quint64 focusedWindow() {
    const std::optional<QString> output = run({QStringLiteral("getwindowfocus")});
    return output ? output->trimmed().toULongLong() : 0;
}

bool click(quint64 window, QPoint point) {
    const std::optional<QRect> place = geometry(window);
    if (!place)
        return false;
    const QPoint onScreen = place->topLeft() + point;
    return run({QStringLiteral("mousemove"), QString::number(onScreen.x()),
                QString::number(onScreen.y()), QStringLiteral("click"), QStringLiteral("1")})
        .has_value();
}

bool key(const QString& keys) {
    return run({QStringLiteral("key"), keys}).has_value();
}

bool type(const QString& text) {
    return run({QStringLiteral("type"), text}).has_value();
}

// A burst of a storm may take a while.
bool perform(const QStringList& commands) {
    return run(commands, 30000).has_value();
}

} // namespace xdotool
