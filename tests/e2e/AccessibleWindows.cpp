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

QString textProperty(const QDBusConnection& bus, const Accessible& object, const QString& which) {
    const QVariant result =
        firstResult(call(bus, object, QStringLiteral("org.freedesktop.DBus.Properties"), "Get",
                         {accessibleInterface, which}));
    return result.value<QDBusVariant>().variant().toString();
}

QString name(const QDBusConnection& bus, const Accessible& object) {
    return textProperty(bus, object, QStringLiteral("Name"));
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
enum StateBit {
    Active = 1,
    Focusable = 11,
    Focused = 12,
    Modal = 16,
    Sensitive = 24,
    Showing = 25
};

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

// The roles of controls that do something, whether or not the keys reach them.
bool isControlRole(const QString& role) {
    static const QStringList controls = {
        QStringLiteral("push button"),  QStringLiteral("toggle button"),
        QStringLiteral("radio button"), QStringLiteral("check box"),
        QStringLiteral("combo box"),    QStringLiteral("spin box"),
        QStringLiteral("spin button"),  QStringLiteral("slider"),
        QStringLiteral("list"),         QStringLiteral("list box"),
        QStringLiteral("progress bar")};
    return controls.contains(role);
}

bool tellsNothing(const QString& name) {
    return std::ranges::none_of(name, [](QChar c) { return c.isLetterOrNumber(); });
}

// The unnamed controls on screen below `object`, whose place among its window's children is
// `path`.
void collectUnnamed(const QDBusConnection& bus, const Accessible& object, const QString& path,
                    const QString& window, QStringList& unnamed) {
    const QList<Accessible> below = children(bus, object);
    for (qsizetype i = 0; i < below.size(); ++i) {
        const Accessible& child = below.at(i);
        const quint64 bits = states(bus, child);
        if (!has(bits, Showing))
            continue;
        const QString role = roleName(bus, child);
        const QString childPath =
            path.isEmpty() ? QString::number(i) : path + QLatin1Char('/') + QString::number(i);
        const QString text = name(bus, child);
        if ((has(bits, Focusable) || isControlRole(role)) && tellsNothing(text))
            unnamed.append(QStringLiteral("\"%1\": %2 at %3 named \"%4\", described \"%5\"")
                               .arg(window, role, childPath, text,
                                    textProperty(bus, child, QStringLiteral("Description"))));
        collectUnnamed(bus, child, childPath, window, unnamed);
    }
}

// The windows on screen of every program on the bus.
QList<Accessible> shownWindows(const QDBusConnection& bus) {
    const Accessible registry{QStringLiteral("org.a11y.atspi.Registry"),
                              QStringLiteral("/org/a11y/atspi/accessible/root")};
    QList<Accessible> shown;
    for (const Accessible& application : children(bus, registry)) {
        for (const Accessible& window : children(bus, application)) {
            if (has(states(bus, window), Showing))
                shown.append(window);
        }
    }
    return shown;
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
        found.append({name(bus_, button), extentsOnScreen(bus_, button),
                      has(states(bus_, button), Sensitive), button.service, button.path});
    return found;
}

QString AccessibleWindows::press(const AccessibleButton& button) const {
    const Accessible object{button.service, button.path};
    const QString actionInterface = QStringLiteral("org.a11y.atspi.Action");
    // Qt offers a button's press first, under the name its accessibility interface gives it.
    const QString action =
        firstResult(call(bus_, object, actionInterface, "GetName", {0})).toString();
    if (action.compare(QStringLiteral("Press"), Qt::CaseInsensitive) != 0)
        return QStringLiteral("the button \"%1\" offers \"%2\" first, not a press")
            .arg(button.name, action);
    const QDBusMessage reply = call(bus_, object, actionInterface, "DoAction", {0});
    if (reply.type() != QDBusMessage::ReplyMessage)
        return QStringLiteral("pressing \"%1\" failed: %2").arg(button.name, reply.errorMessage());
    if (!firstResult(reply).toBool())
        return QStringLiteral("the program refused to press \"%1\"").arg(button.name);
    return {};
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

QStringList AccessibleWindows::unnamedControls() const {
    QStringList unnamed;
    for (const Accessible& window : shownWindows(bus_))
        collectUnnamed(bus_, window, {}, name(bus_, window), unnamed);
    return unnamed;
}

QStringList AccessibleWindows::shownWindowTitles() const {
    QStringList titles;
    for (const Accessible& window : shownWindows(bus_))
        titles.append(name(bus_, window));
    return titles;
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
