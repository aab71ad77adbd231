#include "WindowProperties.h"

#include "Xdotool.h"

#include <QProcess>

namespace xprop {

QStringList values(quint64 window, const QString& property) {
    QStringList arguments = window == 0
                                ? QStringList{QStringLiteral("-root")}
                                : QStringList{QStringLiteral("-id"), QString::number(window)};
    arguments << QStringLiteral("-notype") << property;
    QProcess process;
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(QStringLiteral("xprop"), arguments);
    if (!process.waitForFinished(10000) || process.exitCode() != 0)
        return {};
    // "NAME = a, b" or, for window lists, "NAME: window id # a, b"; "NAME:  not found." if unset.
    const QString output = QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
    const qsizetype equals = output.indexOf(QStringLiteral(" = "));
    const qsizetype hash = output.indexOf(QLatin1Char('#'));
    const qsizetype start = equals >= 0 ? equals + 3 : hash >= 0 ? hash + 1 : -1;
    if (start < 0 || !output.startsWith(property))
        return {};
    QStringList found;
    for (const QString& value : output.mid(start).split(QLatin1Char(','), Qt::SkipEmptyParts))
        found.append(value.trimmed());
    return found;
}

std::optional<QMargins> frameExtents(quint64 window) {
    const QStringList sides = values(window, QStringLiteral("_NET_FRAME_EXTENTS"));
    if (sides.size() != 4)
        return std::nullopt;
    return QMargins(sides[0].toInt(), sides[2].toInt(), sides[1].toInt(), sides[3].toInt());
}

std::optional<QRect> frameOnScreen(quint64 window) {
    const std::optional<QRect> client = xdotool::geometry(window);
    if (!client)
        return std::nullopt;
    return client->marginsAdded(frameExtents(window).value_or(QMargins()));
}

bool isModal(quint64 window) {
    return values(window, QStringLiteral("_NET_WM_STATE"))
        .contains(QStringLiteral("_NET_WM_STATE_MODAL"));
}

bool isMinimised(quint64 window) {
    return values(window, QStringLiteral("_NET_WM_STATE"))
        .contains(QStringLiteral("_NET_WM_STATE_HIDDEN"));
}

QList<quint64> stackingOrder() {
    QList<quint64> windows;
    for (const QString& id : values(0, QStringLiteral("_NET_CLIENT_LIST_STACKING")))
        windows.append(id.toULongLong(nullptr, 0));
    return windows;
}

} // namespace xprop
