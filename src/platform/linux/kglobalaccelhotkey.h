#pragma once

#include "keyboard/globalhotkey.h"

#include <QDBusConnection>
#include <QObject>

// Ctrl+Alt+V registered with KDE's global shortcut service, which also lets the user change it
// in the desktop's shortcut settings.
class KGlobalAccelHotKey final : public QObject, public GlobalHotKey
{
    Q_OBJECT

public:
    explicit KGlobalAccelHotKey(QDBusConnection bus = QDBusConnection::sessionBus(),
                                QObject *parent = nullptr);

    // The service runs on this bus.
    static bool isServed(const QDBusConnection &bus);

    Registration registerHotKey(std::function<void()> pressed) override;
    QString route() const override;

private slots:
    void shortcutPressed(const QString &component, const QString &action, qlonglong timestamp);

private:
    QDBusConnection m_bus;
    std::function<void()> m_pressed;
};
