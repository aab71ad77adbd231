#include "AccessibleWindows.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>

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

void collect(const QDBusConnection& bus, const Accessible& object, const QString& role,
             QList<Accessible>& found) {
    for (const Accessible& child : children(bus, object)) {
        if (roleName(bus, child) == role)
            found.append(child);
        collect(bus, child, role, found);
    }
}

// Every object of `role`, as the bus names roles, in the open windows titled `title`.
QList<Accessible> objectsIn(const QDBusConnection& bus, const QString& title, const QString& role) {
    const Accessible registry{QStringLiteral("org.a11y.atspi.Registry"),
                              QStringLiteral("/org/a11y/atspi/accessible/root")};
    QList<Accessible> found;
    for (const Accessible& application : children(bus, registry)) {
        for (const Accessible& window : children(bus, application)) {
            if (name(bus, window) == title)
                collect(bus, window, role, found);
        }
    }
    return found;
}

// Where the object lies on the screen; empty when it does not say.
QRect extentsOnScreen(const QDBusConnection& bus, const Accessible& object) {
    constexpr uint screenCoordinates = 0;
    const QVariant result =
        firstResult(call(bus, object, QStringLiteral("org.a11y.atspi.Component"), "GetExtents",
                         {screenCoordinates}));
    if (!result.canConvert<QDBusArgument>())
        return {};
    int x = 0, y = 0, width = 0, height = 0;
    const auto extents = result.value<QDBusArgument>();
    extents.beginStructure();
    extents >> x >> y >> width >> height;
    extents.endStructure();
    return {x, y, width, height};
}

// Whether the object is on the screen, not merely made: a hidden widget is offered too.
bool isShowing(const QDBusConnection& bus, const Accessible& object) {
    constexpr int showingState = 25; // a bit in the first word of the state set
    const QVariant result = firstResult(call(bus, object, accessibleInterface, "GetState"));
    if (!result.canConvert<QDBusArgument>())
        return false;
    QList<uint> words;
    result.value<QDBusArgument>() >> words;
    return !words.isEmpty() && (words.constFirst() >> showingState & 1U) != 0;
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

QStringList AccessibleWindows::labelTexts(const QString& title) const {
    QStringList texts;
    for (const Accessible& label : objectsIn(bus_, title, QStringLiteral("label"))) {
        const QString text = name(bus_, label);
        if (!text.isEmpty())
            texts.append(text);
    }
    return texts;
}

QList<AccessibleButton> AccessibleWindows::buttons(const QString& title) const {
    QList<AccessibleButton> found;
    for (const Accessible& button : objectsIn(bus_, title, QStringLiteral("push button")))
        found.append({name(bus_, button), extentsOnScreen(bus_, button)});
    return found;
}

QStringList AccessibleWindows::shownTextAreaTexts(const QString& title) const {
    QStringList texts;
    for (const Accessible& area : objectsIn(bus_, title, QStringLiteral("text"))) {
        if (!isShowing(bus_, area))
            continue;
        const QDBusMessage reply =
            call(bus_, area, QStringLiteral("org.a11y.atspi.Text"), "GetText", {0, -1});
        texts.append(firstResult(reply).toString());
    }
    return texts;
}
