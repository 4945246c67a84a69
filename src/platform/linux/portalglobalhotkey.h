#pragma once

#include "keyboard/globalhotkey.h"

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QObject>
#include <QVariantMap>

// Ctrl+Alt+V asked of the desktop portal's global shortcuts, where the desktop serves them; the
// desktop may ask the user to confirm it, or let them pick another key.
class PortalGlobalHotKey final : public QObject, public GlobalHotKey
{
    Q_OBJECT

public:
    explicit PortalGlobalHotKey(QDBusConnection bus = QDBusConnection::sessionBus(),
                                QObject *parent = nullptr);

    // The portal on this bus has a global shortcuts backend.
    static bool isServed(const QDBusConnection &bus);

    // Registered once the session is asked for; what the desktop then decides is reported when
    // it answers.
    Registration registerHotKey(std::function<void()> pressed) override;
    QString route() const override;

private slots:
    void sessionCreated(uint response, const QVariantMap &results);
    void shortcutsBound(uint response, const QVariantMap &results);
    void activated(const QDBusObjectPath &session, const QString &shortcut, qulonglong timestamp,
                   const QVariantMap &options);

private:
    // Where the portal answers the request with this token, watched before it is made.
    QString watchRequest(const QString &token, const char *slot);

    QDBusConnection m_bus;
    std::function<void()> m_pressed;
    QString m_session;
};
