// Stands in for a desktop's global shortcut service on a private session bus: prints every call
// it gets, one a line, and sends the press signal when told "press" on standard input.
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>
#include <unistd.h>

namespace
{

void say(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

} // namespace

// Outside any unnamed namespace: Qt D-Bus finds the slot's argument type by its name.
struct PortalShortcut {
    QString id;
    QVariantMap properties;
};

Q_DECLARE_METATYPE(PortalShortcut)

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

class KGlobalAccelStandIn : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.KGlobalAccel")

public slots:
    void doRegister(const QStringList &actionId)
    {
        say(QStringLiteral("doRegister ") + actionId.join(u','));
    }
    QList<int> setShortcut(const QStringList &actionId, const QList<int> &keys, uint flags)
    {
        QStringList names;
        for (const int key : keys)
            names.append(QString::number(key));
        say(QStringLiteral("setShortcut %1 %2 %3")
                .arg(actionId.value(1), names.join(u','), QString::number(flags)));
        return keys;
    }
    QDBusObjectPath getComponent(const QString &component)
    {
        say(QStringLiteral("getComponent ") + component);
        return QDBusObjectPath(QStringLiteral("/component/") + component);
    }
};

class PortalStandIn : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.GlobalShortcuts")
    Q_PROPERTY(uint version READ version)

public:
    uint version() const { return 1; }
    QString session;

public slots:
    QDBusObjectPath CreateSession(const QVariantMap &options, const QDBusMessage &message)
    {
        say(QStringLiteral("CreateSession %1 %2")
                .arg(options.value(QStringLiteral("handle_token")).toString(),
                     options.value(QStringLiteral("session_handle_token")).toString()));
        session = QStringLiteral("/org/freedesktop/portal/desktop/session/%1/%2")
                      .arg(sender(message),
                           options.value(QStringLiteral("session_handle_token")).toString());
        return respond(message, options, {{QStringLiteral("session_handle"), session}});
    }
    QDBusObjectPath BindShortcuts(const QDBusObjectPath &handle,
                                  const QList<PortalShortcut> &shortcuts, const QString &,
                                  const QVariantMap &options, const QDBusMessage &message)
    {
        for (const PortalShortcut &shortcut : shortcuts)
            say(QStringLiteral("BindShortcuts %1 %2 %3")
                    .arg(
                        handle.path() == session ? QStringLiteral("session") : handle.path(),
                        shortcut.id,
                        shortcut.properties.value(QStringLiteral("preferred_trigger")).toString()));
        return respond(message, options, {});
    }

private:
    static QString sender(const QDBusMessage &message)
    {
        return message.service().mid(1).replace(u'.', u'_');
    }
    // The answer comes as a signal on the request object after the call returned.
    static QDBusObjectPath respond(const QDBusMessage &message, const QVariantMap &options,
                                   const QVariantMap &results)
    {
        const QString path =
            QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2")
                .arg(sender(message), options.value(QStringLiteral("handle_token")).toString());
        QTimer::singleShot(50, [path, results] {
            QDBusMessage response = QDBusMessage::createSignal(
                path, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
            response << uint(0) << results;
            QDBusConnection::sessionBus().send(response);
        });
        return QDBusObjectPath(path);
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    qDBusRegisterMetaType<QList<int>>();
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
    const bool portal = app.arguments().value(1) == u"portal";
    QDBusConnection bus = QDBusConnection::sessionBus();
    KGlobalAccelStandIn accel;
    PortalStandIn shortcuts;
    const bool registered =
        portal ? bus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), &shortcuts,
                                    QDBusConnection::ExportAllSlots |
                                        QDBusConnection::ExportAllProperties) &&
                     bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop"))
               : bus.registerObject(QStringLiteral("/kglobalaccel"), &accel,
                                    QDBusConnection::ExportAllSlots) &&
                     bus.registerService(QStringLiteral("org.kde.kglobalaccel"));
    if (!registered) {
        std::fprintf(stderr, "hotkeystandin: %s\n", qPrintable(bus.lastError().message()));
        return 1;
    }

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[64];
        if (::read(STDIN_FILENO, buffer, sizeof(buffer)) <= 0) {
            QCoreApplication::quit();
            return;
        }
        QDBusMessage press =
            portal ? QDBusMessage::createSignal(
                         QStringLiteral("/org/freedesktop/portal/desktop"),
                         QStringLiteral("org.freedesktop.portal.GlobalShortcuts"),
                         QStringLiteral("Activated"))
                   : QDBusMessage::createSignal(QStringLiteral("/component/quillstash"),
                                                QStringLiteral("org.kde.kglobalaccel.Component"),
                                                QStringLiteral("globalShortcutPressed"));
        if (portal)
            press << QVariant::fromValue(QDBusObjectPath(shortcuts.session))
                  << QStringLiteral("show-board") << qulonglong(1) << QVariantMap();
        else
            press << QStringLiteral("quillstash") << QStringLiteral("show-board") << qlonglong(1);
        bus.send(press);
        say(QStringLiteral("pressed"));
    });
    say(QStringLiteral("ready"));
    return QCoreApplication::exec();
}

#include "hotkeystandin.moc"
