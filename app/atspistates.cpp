#include "atspistates.h"

#include <QAccessible>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QVariantMap>
#include <QWidget>

namespace kst {

namespace {

// Qt's AT-SPI bridge speaks through the connection it names "a11y"; not connected where no
// bridge runs. Asked for only while an assistive technology listens: the first look starts
// Qt's D-Bus machinery, which a program without one need not load.
QDBusConnection Bridge() {
    return QAccessible::isActive() ? QDBusConnection(QStringLiteral("a11y"))
                                   : QDBusConnection(QString());
}

// Sends an AT-SPI object event for an interface as the bridge would, from the path by which it
// names the interface, so the client takes it for the object it already knows.
bool SendEvent(const QDBusConnection& bridge, QAccessibleInterface* face, const char* member,
               const char* kind, int detail, const QVariant& data) {
    if (!face)
        return false;
    QDBusMessage signal = QDBusMessage::createSignal(
        QStringLiteral("/org/a11y/atspi/accessible/%1").arg(QAccessible::uniqueId(face)),
        QStringLiteral("org.a11y.atspi.Event.Object"), QLatin1String(member));
    signal << QString::fromLatin1(kind) << detail << 0 << QVariant::fromValue(QDBusVariant(data))
           << QVariantMap();
    return bridge.send(signal);
}

// Whether an event is a changed name or description, which this program sends itself.
bool SendChangedText(QAccessibleEvent* event) {
    const bool name = event->type() == QAccessible::NameChanged;
    if (!name && event->type() != QAccessible::DescriptionChanged)
        return false;
    const QDBusConnection bridge = Bridge();
    if (!bridge.isConnected())
        return false;
    QAccessibleInterface* face = event->accessibleInterface();
    return face && SendEvent(bridge, face, "PropertyChange",
                             name ? "accessible-name" : "accessible-description", 0,
                             face->text(name ? QAccessible::Name : QAccessible::Description));
}

void Update(QAccessibleEvent* event) {
    if (SendChangedText(event))
        return;
    // Every other event takes Qt's own way, which this handler otherwise replaces.
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(Update);
}

} // namespace

void TellState(QWidget* widget, const char* state, bool on) {
    TellState(QAccessible::queryAccessibleInterface(widget), state, on);
}

void TellState(QAccessibleInterface* face, const char* state, bool on) {
    const QDBusConnection bridge = Bridge();
    if (bridge.isConnected())
        SendEvent(bridge, face, "StateChanged", state, on, 0);
}

void TellChangedTexts() {
    QAccessible::installUpdateHandler(Update);
}

} // namespace kst
