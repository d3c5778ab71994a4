#include "face/screen_reader_announcement.h"

#include <QAccessible>
#include <QtGlobal>

#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#endif

namespace rpn {

#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)

void AnnounceToScreenReader(QAccessibleInterface* focused, const QString& text)
{
    if (!focused)
        return;
    QAccessibleAnnouncementEvent event(focused, text);
    QAccessible::updateAccessibility(&event);
}

#else

namespace {

// The name under which Qt's bridge keeps its connection to the
// accessibility bus, and where it puts the objects it serves there.
constexpr auto kBridgeConnection = "a11y";
constexpr auto kObjectPathPrefix = "/org/a11y/atspi/accessible/";

}  // namespace

void AnnounceToScreenReader(QAccessibleInterface* focused, const QString& text)
{
    if (!focused)
        return;
    const QDBusConnection bus(QString::fromLatin1(kBridgeConnection));
    if (!bus.isConnected())
        return;
    const QString prefix = QString::fromLatin1(kObjectPathPrefix);
    const QString path = prefix + QString::number(QAccessible::uniqueId(focused));
    // The event's fields as the bridge sends every object event: kind, two
    // details, the new value, and the application's root object.
    QDBusArgument root;
    root.beginStructure();
    root << bus.baseService() << QDBusObjectPath(prefix + QStringLiteral("root"));
    root.endStructure();
    QDBusMessage signal = QDBusMessage::createSignal(path, QStringLiteral("org.a11y.atspi.Event.Object"),
                                                     QStringLiteral("PropertyChange"));
    signal << QStringLiteral("accessible-description") << 0 << 0 << QVariant::fromValue(QDBusVariant(text))
           << QVariant::fromValue(root);
    bus.send(signal);
}

#endif

}  // namespace rpn
