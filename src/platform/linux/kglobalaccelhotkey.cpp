#include "kglobalaccelhotkey.h"

#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QKeySequence>

namespace
{

const QString service = QStringLiteral("org.kde.kglobalaccel");
const QString component = QStringLiteral("quillstash");
const QString action = QStringLiteral("show-board");

// The service's flags for setShortcut.
constexpr uint isDefault = 1;
constexpr uint setPresent = 2;

// A start must not hang on a service that went quiet.
constexpr int callTimeoutMs = 2000;

} // namespace

KGlobalAccelHotKey::KGlobalAccelHotKey(QDBusConnection bus, QObject *parent)
    : QObject(parent), m_bus(std::move(bus))
{
    qDBusRegisterMetaType<QList<int>>();
}

bool KGlobalAccelHotKey::isServed(const QDBusConnection &bus)
{
    return bus.isConnected() && bus.interface() &&
           bus.interface()->isServiceRegistered(service).value();
}

GlobalHotKey::Registration KGlobalAccelHotKey::registerHotKey(std::function<void()> pressed)
{
    m_pressed = std::move(pressed);
    QDBusInterface accel(service, QStringLiteral("/kglobalaccel"),
                         QStringLiteral("org.kde.KGlobalAccel"), m_bus);
    accel.setTimeout(callTimeoutMs);
    // Unique component and action names, then the names the desktop's settings show.
    const QStringList actionId{component, action, QStringLiteral("Quillstash"),
                               QStringLiteral("Show the clipboard board")};
    if (!QDBusReply<void>(accel.call(QStringLiteral("doRegister"), actionId)).isValid())
        return Registration::Failed;
    const QList<int> keys{QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_V)[0].toCombined()};
    // The default first, then the present one: the service keeps a key the user chose instead.
    for (const uint flags : {isDefault, setPresent}) {
        const QDBusReply<QList<int>> set =
            accel.call(QStringLiteral("setShortcut"), actionId, QVariant::fromValue(keys), flags);
        if (!set.isValid())
            return Registration::Failed;
        if (flags == setPresent && set.value().isEmpty())
            return Registration::Taken;
    }
    const QDBusReply<QDBusObjectPath> path = accel.call(QStringLiteral("getComponent"), component);
    if (!path.isValid() || !m_bus.connect(service, path.value().path(),
                                          QStringLiteral("org.kde.kglobalaccel.Component"),
                                          QStringLiteral("globalShortcutPressed"), this,
                                          SLOT(shortcutPressed(QString, QString, qlonglong))))
        return Registration::Failed;
    return Registration::Registered;
}

QString KGlobalAccelHotKey::route() const
{
    return QStringLiteral("KDE's global shortcuts (change it in System Settings, Shortcuts)");
}

void KGlobalAccelHotKey::shortcutPressed(const QString &pressedComponent,
                                         const QString &pressedAction, qlonglong)
{
    if (pressedComponent == component && pressedAction == action && m_pressed)
        m_pressed();
}
