#include "waylandconnection.h"

#include <QAbstractEventDispatcher>
#include <QSocketNotifier>
#include <QThread>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <wayland-client.h>

std::unique_ptr<WaylandConnection> WaylandConnection::open()
{
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return nullptr;
    wl_display *display = wl_display_connect(nullptr);
    if (!display)
        return nullptr;
    std::unique_ptr<WaylandConnection> connection(new WaylandConnection(display));
    // Twice: the globals first, then what binding the seat tells.
    if (!connection->roundtrip() || !connection->roundtrip())
        return nullptr;
    return connection;
}

WaylandConnection::WaylandConnection(wl_display *display) : m_display(display)
{
    static const wl_registry_listener listener = {
        .global = &WaylandConnection::handleGlobal,
        .global_remove = &WaylandConnection::handleGlobalRemove,
    };
    m_registry = wl_display_get_registry(m_display);
    wl_registry_add_listener(m_registry, &listener, this);

    m_notifier = new QSocketNotifier(wl_display_get_fd(m_display), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &WaylandConnection::dispatch);
    // Requests made anywhere during an event-loop pass leave before it sleeps.
    if (QAbstractEventDispatcher *dispatcher = QThread::currentThread()->eventDispatcher())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this,
                &WaylandConnection::flush);
}

WaylandConnection::~WaylandConnection()
{
    if (m_seat)
        wl_seat_destroy(m_seat);
    if (m_registry)
        wl_registry_destroy(m_registry);
    wl_display_disconnect(m_display);
}

void WaylandConnection::handleGlobal(void *data, wl_registry *, uint32_t name,
                                     const char *interface, uint32_t version)
{
    auto *self = static_cast<WaylandConnection *>(data);
    self->m_globals.append({name, QByteArray(interface), version});
    if (!self->m_seat && std::strcmp(interface, wl_seat_interface.name) == 0)
        self->m_seat = static_cast<wl_seat *>(wl_registry_bind(
            self->m_registry, name, &wl_seat_interface, std::min<uint32_t>(version, 5)));
}

void WaylandConnection::handleGlobalRemove(void *data, wl_registry *, uint32_t name)
{
    auto *self = static_cast<WaylandConnection *>(data);
    self->m_globals.removeIf([name](const Global &global) { return global.name == name; });
}

bool WaylandConnection::hasGlobal(const QByteArray &interfaceName) const
{
    return std::any_of(m_globals.cbegin(), m_globals.cend(),
                       [&](const Global &global) { return global.interface == interfaceName; });
}

void *WaylandConnection::bind(const wl_interface *interface, uint32_t maxVersion) const
{
    for (const Global &global : m_globals) {
        if (global.interface == interface->name)
            return wl_registry_bind(m_registry, global.name, interface,
                                    std::min(global.version, maxVersion));
    }
    return nullptr;
}

void WaylandConnection::flush()
{
    if (m_alive && wl_display_flush(m_display) < 0 && errno != EAGAIN)
        checkError();
}

bool WaylandConnection::roundtrip()
{
    if (m_alive && wl_display_roundtrip(m_display) < 0)
        checkError();
    return m_alive;
}

void WaylandConnection::dispatch()
{
    if (!m_alive)
        return;
    while (wl_display_prepare_read(m_display) != 0) {
        if (wl_display_dispatch_pending(m_display) < 0) {
            checkError();
            return;
        }
    }
    wl_display_flush(m_display);
    // The notifier fired, so the read does not block.
    if (wl_display_read_events(m_display) < 0 || wl_display_dispatch_pending(m_display) < 0) {
        checkError();
        return;
    }
    flush();
}

void WaylandConnection::checkError()
{
    const int error = wl_display_get_error(m_display);
    if (error == 0 || !m_alive)
        return;
    m_alive = false;
    m_notifier->setEnabled(false);
    std::fprintf(stderr,
                 "quillstash: the Wayland connection failed (%s); the session's clipboard "
                 "and keyboard services stop\n",
                 std::strerror(error));
}
