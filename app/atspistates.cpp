#include "atspistates.h"

#include <QAccessible>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QVariantMap>
#include <QWidget>

namespace kst {

namespace {

// Sends an AT-SPI object event for an interface as Qt's bridge would: through the connection
// the bridge names "a11y", from the path by which it names the interface, so the client takes
// it for the object it already knows. False where no bridge runs.
bool SendEvent(QAccessibleInterface* face, const char* member, const char* kind, int detail,
               const QVariant& data) {
    QDBusConnection bridge(QStringLiteral("a11y"));
    if (!face || !bridge.isConnected())
        return false;
    QDBusMessage signal = QDBusMessage::createSignal(
        QStringLiteral("/org/a11y/atspi/accessible/%1").arg(QAccessible::uniqueId(face)),
        QStringLiteral("org.a11y.atspi.Event.Object"), QLatin1String(member));
    signal << QString::fromLatin1(kind) << detail << 0 << QVariant::fromValue(QDBusVariant(data))
           << QVariantMap();
    return bridge.send(signal);
}

void Update(QAccessibleEvent* event) {
    const char* property = event->type() == QAccessible::NameChanged ? "accessible-name"
                           : event->type() == QAccessible::DescriptionChanged
                               ? "accessible-description"
                               : nullptr;
    QAccessibleInterface* face = property ? event->accessibleInterface() : nullptr;
    const QAccessible::Text text =
        event->type() == QAccessible::NameChanged ? QAccessible::Name : QAccessible::Description;
    if (face && SendEvent(face, "PropertyChange", property, 0, face->text(text)))
        return;
    // Every other event takes Qt's own way, which this handler otherwise replaces.
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(Update);
}

} // namespace

void TellState(QWidget* widget, const char* state, bool on) {
    SendEvent(QAccessible::queryAccessibleInterface(widget), "StateChanged", state, on, 0);
}

void TellChangedTexts() {
    QAccessible::installUpdateHandler(Update);
}

} // namespace kst
