#include "AccessibleWindows.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>

#include <algorithm>

namespace {

const QString sessionName = QStringLiteral("e2e-session");
const QString accessibilityName = QStringLiteral("e2e-accessibility");
const QString accessibleInterface = QStringLiteral("org.a11y.atspi.Accessible");
constexpr int callMilliseconds = 5000;

struct Accessible {
    QString service;
    QString path;
};

QDBusMessage call(const QDBusConnection& bus, const Accessible& object, const QString& interface,
                  const QString& method, const QVariantList& arguments = {}) {
    QDBusMessage message =
        QDBusMessage::createMethodCall(object.service, object.path, interface, method);
    message.setArguments(arguments);
    return bus.call(message, QDBus::Block, callMilliseconds);
}

QVariant firstResult(const QDBusMessage& reply) {
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return reply.arguments().constFirst();
}

QList<Accessible> children(const QDBusConnection& bus, const Accessible& object) {
    const QVariant result = firstResult(call(bus, object, accessibleInterface, "GetChildren"));
    QList<Accessible> found;
    if (!result.canConvert<QDBusArgument>())
        return found;
    const auto list = result.value<QDBusArgument>();
    list.beginArray();
    while (!list.atEnd()) {
        Accessible child;
        QDBusObjectPath path;
        list.beginStructure();
        list >> child.service >> path;
        list.endStructure();
        child.path = path.path();
        found.append(child);
    }
    list.endArray();
    return found;
}

QString name(const QDBusConnection& bus, const Accessible& object) {
    const QVariant result =
        firstResult(call(bus, object, QStringLiteral("org.freedesktop.DBus.Properties"), "Get",
                         {accessibleInterface, QStringLiteral("Name")}));
    return result.value<QDBusVariant>().variant().toString();
}

QString roleName(const QDBusConnection& bus, const Accessible& object) {
    return firstResult(call(bus, object, accessibleInterface, "GetRoleName")).toString();
}

// The state bits of AT-SPI that a learner notices.
enum StateBit { Active = 1, Focused = 12, Modal = 16, Sensitive = 24, Showing = 25 };

quint64 states(const QDBusConnection& bus, const Accessible& object) {
    const QVariant result = firstResult(call(bus, object, accessibleInterface, "GetState"));
    QList<uint> words;
    if (result.canConvert<QDBusArgument>())
        result.value<QDBusArgument>() >> words;
    quint64 bits = 0;
    for (qsizetype i = 0; i < std::min<qsizetype>(words.size(), 2); ++i)
        bits |= quint64(words[i]) << (32 * i);
    return bits;
}

bool has(quint64 bits, StateBit bit) {
    return (bits >> bit) & 1;
}

// The labels' texts and the names of the buttons that take a click, below `object`.
void collectReadable(const QDBusConnection& bus, const Accessible& object, QStringList& texts,
                     QStringList& buttons) {
    for (const Accessible& child : children(bus, object)) {
        const QString role = roleName(bus, child);
        const QString text = name(bus, child);
        const quint64 bits = states(bus, child);
        if (role == QStringLiteral("label") && !text.isEmpty() && has(bits, Showing))
            texts.append(text);
        else if (role.endsWith(QStringLiteral("button")) && has(bits, Sensitive) &&
                 has(bits, Showing))
            buttons.append(has(bits, Focused) ? text + QStringLiteral(" (focus)") : text);
        collectReadable(bus, child, texts, buttons);
    }
}

void collectLabels(const QDBusConnection& bus, const Accessible& object, QStringList& texts) {
    for (const Accessible& child : children(bus, object)) {
        if (roleName(bus, child) == QStringLiteral("label")) {
            const QString text = name(bus, child);
            if (!text.isEmpty())
                texts.append(text);
        }
        collectLabels(bus, child, texts);
    }
}

// Asks the session's accessibility service to switch accessibility on and for the address of
// the bus it runs.
QString accessibilityBusAddress(const QString& sessionBusAddress) {
    const QDBusConnection session = QDBusConnection::connectToBus(sessionBusAddress, sessionName);
    const Accessible service{QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus")};
    call(session, service, QStringLiteral("org.freedesktop.DBus.Properties"), "Set",
         {QStringLiteral("org.a11y.Status"), QStringLiteral("IsEnabled"),
          QVariant::fromValue(QDBusVariant(true))});
    const QString address =
        firstResult(call(session, service, QStringLiteral("org.a11y.Bus"), "GetAddress"))
            .toString();
    QDBusConnection::disconnectFromBus(sessionName);
    return address;
}

} // namespace

AccessibleWindows::AccessibleWindows(const QString& sessionBusAddress)
    : bus_(QDBusConnection::connectToBus(accessibilityBusAddress(sessionBusAddress),
                                         accessibilityName)) {}

AccessibleWindows::~AccessibleWindows() {
    QDBusConnection::disconnectFromBus(accessibilityName);
}

QStringList AccessibleWindows::describeWindows() const {
    const Accessible registry{QStringLiteral("org.a11y.atspi.Registry"),
                              QStringLiteral("/org/a11y/atspi/accessible/root")};
    QStringList lines;
    for (const Accessible& application : children(bus_, registry)) {
        // A program that does not answer is busy: asking about each of its controls would take
        // minutes.
        const QDBusMessage reply = call(bus_, application, accessibleInterface, "GetChildren");
        if (reply.type() != QDBusMessage::ReplyMessage) {
            lines.append(QStringLiteral("a program does not answer the screen reader: %1")
                             .arg(reply.errorMessage()));
            continue;
        }
        for (const Accessible& window : children(bus_, application)) {
            const quint64 bits = states(bus_, window);
            if (!has(bits, Showing))
                continue;
            QStringList texts;
            QStringList buttons;
            collectReadable(bus_, window, texts, buttons);
            lines.append(QStringLiteral("\"%1\"%2%3: shows \"%4\"; buttons to press: %5")
                             .arg(name(bus_, window),
                                  has(bits, Active) ? QStringLiteral(", active") : QString(),
                                  has(bits, Modal) ? QStringLiteral(", modal") : QString(),
                                  texts.join(QStringLiteral("\" \"")),
                                  buttons.isEmpty() ? QStringLiteral("none")
                                                    : buttons.join(QStringLiteral(", "))));
        }
    }
    return lines;
}

namespace {

std::optional<QPoint> firstLabelCentre(const QDBusConnection& bus, const Accessible& object) {
    for (const Accessible& child : children(bus, object)) {
        if (roleName(bus, child) == QStringLiteral("label") && !name(bus, child).isEmpty()) {
            // Extents on the screen: x, y, width, height.
            const QDBusMessage reply = call(bus, child, QStringLiteral("org.a11y.atspi.Component"),
                                            "GetExtents", {uint(0)});
            const QVariant extents = firstResult(reply);
            if (!extents.canConvert<QDBusArgument>())
                return std::nullopt;
            int x = 0, y = 0, width = 0, height = 0;
            const auto box = extents.value<QDBusArgument>();
            box.beginStructure();
            box >> x >> y >> width >> height;
            box.endStructure();
            return QPoint(x + width / 2, y + height / 2);
        }
        if (const std::optional<QPoint> found = firstLabelCentre(bus, child))
            return found;
    }
    return std::nullopt;
}

} // namespace

std::optional<QPoint> AccessibleWindows::labelCentre(const QString& title) const {
    const Accessible registry{QStringLiteral("org.a11y.atspi.Registry"),
                              QStringLiteral("/org/a11y/atspi/accessible/root")};
    for (const Accessible& application : children(bus_, registry)) {
        for (const Accessible& window : children(bus_, application)) {
            if (name(bus_, window) == title)
                return firstLabelCentre(bus_, window);
        }
    }
    return std::nullopt;
}

QStringList AccessibleWindows::labelTexts(const QString& title) const {
    const Accessible registry{QStringLiteral("org.a11y.atspi.Registry"),
                              QStringLiteral("/org/a11y/atspi/accessible/root")};
    QStringList texts;
    for (const Accessible& application : children(bus_, registry)) {
        for (const Accessible& window : children(bus_, application)) {
            if (name(bus_, window) == title)
                collectLabels(bus_, window, texts);
        }
    }
    return texts;
}
