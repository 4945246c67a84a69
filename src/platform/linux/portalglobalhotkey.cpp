#include "portalglobalhotkey.h"

#include <QDBusArgument>
#include <QDBusInterface>
#include <QDBusMetaType>
#include <QDBusReply>
#include <QDBusVariant>

namespace
{

const QString service = QStringLiteral("org.freedesktop.portal.Desktop");
const QString desktopPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString shortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString requestInterface = QStringLiteral("org.freedesktop.portal.Request");
const QString shortcutId = QStringLiteral("show-board");

constexpr int callTimeoutMs = 2000;

struct PortalShortcut {
    QString id;
    QVariantMap properties;
};

} // namespace

Q_DECLARE_METATYPE(PortalShortcut)

namespace
{

QDBusArgument &operator<<(QDBusArgument &argument, const PortalShortcut &shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, PortalShortcut &shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

} // namespace

PortalGlobalHotKey::PortalGlobalHotKey(QDBusConnection bus, QObject *parent)
    : QObject(parent), m_bus(std::move(bus))
{
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
}

bool PortalGlobalHotKey::isServed(const QDBusConnection &bus)
{
    if (!bus.isConnected())
        return false;
    // The portal offers the interface only when a backend of the desktop implements it.
    QDBusInterface properties(service, desktopPath,
                              QStringLiteral("org.freedesktop.DBus.Properties"), bus);
    properties.setTimeout(callTimeoutMs);
    const QDBusReply<QDBusVariant> version =
        properties.call(QStringLiteral("Get"), shortcutsInterface, QStringLiteral("version"));
    return version.isValid() && version.value().variant().toUInt() >= 1;
}

QString PortalGlobalHotKey::watchRequest(const QString &token, const char *slot)
{
    // The request's path is known from our name and the token, so the answer cannot be missed.
    const QString sender = m_bus.baseService().mid(1).replace(u'.', u'_');
    const QString path = desktopPath + QStringLiteral("/request/") + sender + u'/' + token;
    m_bus.connect(service, path, requestInterface, QStringLiteral("Response"), this, slot);
    return path;
}

GlobalHotKey::Registration PortalGlobalHotKey::registerHotKey(std::function<void()> pressed)
{
    m_pressed = std::move(pressed);
    m_bus.connect(service, desktopPath, shortcutsInterface, QStringLiteral("Activated"), this,
                  SLOT(activated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
    const QString token = QStringLiteral("quillstash_session");
    watchRequest(token, SLOT(sessionCreated(uint, QVariantMap)));
    QDBusInterface shortcuts(service, desktopPath, shortcutsInterface, m_bus);
    shortcuts.setTimeout(callTimeoutMs);
    const QVariantMap options{
        {QStringLiteral("handle_token"), token},
        {QStringLiteral("session_handle_token"), QStringLiteral("quillstash")}};
    const QDBusReply<QDBusObjectPath> request =
        shortcuts.call(QStringLiteral("CreateSession"), options);
    return request.isValid() ? Registration::Registered : Registration::Failed;
}

QString PortalGlobalHotKey::route() const
{
    return QStringLiteral("the desktop portal's global shortcuts");
}

void PortalGlobalHotKey::sessionCreated(uint response, const QVariantMap &results)
{
    m_session = results.value(QStringLiteral("session_handle")).toString();
    if (response != 0 || m_session.isEmpty()) {
        qWarning("Quillstash: the desktop portal made no shortcut session; Ctrl+Alt+V is not "
                 "available.");
        return;
    }
    const QString token = QStringLiteral("quillstash_bind");
    watchRequest(token, SLOT(shortcutsBound(uint, QVariantMap)));
    const QList<PortalShortcut> wanted{
        {shortcutId,
         {{QStringLiteral("description"), QStringLiteral("Show the clipboard board")},
          {QStringLiteral("preferred_trigger"), QStringLiteral("CTRL+ALT+v")}}}};
    QDBusInterface shortcuts(service, desktopPath, shortcutsInterface, m_bus);
    shortcuts.setTimeout(callTimeoutMs);
    const QDBusReply<QDBusObjectPath> request =
        shortcuts.call(QStringLiteral("BindShortcuts"),
                       QVariant::fromValue(QDBusObjectPath(m_session)), QVariant::fromValue(wanted),
                       QString(), QVariantMap{{QStringLiteral("handle_token"), token}});
    if (!request.isValid())
        qWarning("Quillstash: the desktop portal refused the shortcut: %s",
                 qPrintable(request.error().message()));
}

void PortalGlobalHotKey::shortcutsBound(uint response, const QVariantMap &)
{
    if (response != 0)
        qWarning("Quillstash: the desktop did not bind Ctrl+Alt+V; it can be bound later in its "
                 "shortcut settings.");
}

void PortalGlobalHotKey::activated(const QDBusObjectPath &session, const QString &shortcut,
                                   qulonglong, const QVariantMap &)
{
    if (session.path() == m_session && shortcut == shortcutId && m_pressed)
        m_pressed();
}
