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

// Whether the object is on the screen, not merely made: a hidden widget is offered too.
bool isShowing(const QDBusConnection& bus, const Accessible& object) {
    return has(states(bus, object), Showing);
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

std::optional<QPoint> AccessibleWindows::labelCentre(const QString& title) const {
    for (const Accessible& label : objectsIn(bus_, title, QStringLiteral("label"))) {
        if (name(bus_, label).isEmpty())
            continue;
        const QRect place = extentsOnScreen(bus_, label);
        if (place.isEmpty())
            return std::nullopt;
        return place.center();
    }
    return std::nullopt;
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
