#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <cstdint>
#include <memory>

class QSocketNotifier;
struct wl_display;
struct wl_interface;
struct wl_registry;
struct wl_seat;

// A connection of the program's own to the Wayland compositor, beside whatever Qt itself
// talks to, so that the session's services work while the windows run on XWayland. Events are
// dispatched on the main thread whenever the socket has data; requests are flushed before the
// event loop sleeps.
class WaylandConnection final : public QObject
{
    Q_OBJECT

public:
    // Nothing when $WAYLAND_DISPLAY names no compositor that answers.
    static std::unique_ptr<WaylandConnection> open();
    ~WaylandConnection() override;
    WaylandConnection(const WaylandConnection &) = delete;
    WaylandConnection &operator=(const WaylandConnection &) = delete;

    wl_display *display() const { return m_display; }
    // The first seat the compositor announced; null when there is none.
    wl_seat *seat() const { return m_seat; }
    // Whether a global of this interface name is offered.
    bool hasGlobal(const QByteArray &interfaceName) const;
    // Binds the first global of the interface at min(its version, maxVersion); null when absent.
    void *bind(const wl_interface *interface, uint32_t maxVersion) const;
    // Sends what is queued; requests made outside a dispatch call this.
    void flush();
    // Waits until the compositor has handled every request sent so far.
    bool roundtrip();
    // False once the compositor has gone or closed the connection on an error.
    bool isAlive() const { return m_alive; }

private:
    struct Global {
        uint32_t name;
        QByteArray interface;
        uint32_t version;
    };

    explicit WaylandConnection(wl_display *display);
    void dispatch();
    void checkError();
    static void handleGlobal(void *data, wl_registry *registry, uint32_t name,
                             const char *interface, uint32_t version);
    static void handleGlobalRemove(void *data, wl_registry *registry, uint32_t name);

    wl_display *m_display;
    wl_registry *m_registry = nullptr;
    wl_seat *m_seat = nullptr;
    QList<Global> m_globals;
    QSocketNotifier *m_notifier = nullptr;
    bool m_alive = true;
};
