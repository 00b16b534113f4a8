#include "atspistates.h"

#include <QAccessible>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QVariantMap>
#include <QWidget>

namespace kst {

void TellState(QWidget* widget, const char* state, bool on) {
    // Qt's AT-SPI bridge speaks through the connection it names "a11y", and names each object
    // by the path below, so the signal comes from the object the client already knows.
    QDBusConnection bridge(QStringLiteral("a11y"));
    if (!bridge.isConnected())
        return;
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    if (!face)
        return;
    QDBusMessage signal = QDBusMessage::createSignal(
        QStringLiteral("/org/a11y/atspi/accessible/%1").arg(QAccessible::uniqueId(face)),
        QStringLiteral("org.a11y.atspi.Event.Object"), QStringLiteral("StateChanged"));
    signal << QString::fromLatin1(state) << int(on) << 0 << QVariant::fromValue(QDBusVariant(0))
           << QVariantMap();
    bridge.send(signal);
}

} // namespace kst
