#pragma once

#include <QHash>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

class WaylandConnection;
struct zwlr_foreign_toplevel_handle_v1;
struct zwlr_foreign_toplevel_manager_v1;

// Every client's windows as the compositor's foreign-toplevel protocol reports them, and which
// one has the focus. Each window gets a number of its own that stays with it while it exists.
class ForeignToplevels
{
public:
    struct Toplevel {
        quint64 number = 0;
        QString appId;
        QString title;
        bool activated = false;
    };

    // Nothing when the compositor does not offer the protocol.
    static std::unique_ptr<ForeignToplevels> create(WaylandConnection &connection);
    ~ForeignToplevels();
    ForeignToplevels(const ForeignToplevels &) = delete;
    ForeignToplevels &operator=(const ForeignToplevels &) = delete;

    // The window with the focus, as of the last complete report.
    std::optional<Toplevel> activated() const;
    // Asks the compositor to give the window the seat's focus; false when it has gone.
    bool activate(quint64 number);

private:
    struct Handle {
        Toplevel current;
        Toplevel pending;
    };

    ForeignToplevels(WaylandConnection &connection, zwlr_foreign_toplevel_manager_v1 *manager);
    static void handleToplevel(void *data, zwlr_foreign_toplevel_manager_v1 *manager,
                               zwlr_foreign_toplevel_handle_v1 *handle);
    static void handleFinished(void *data, zwlr_foreign_toplevel_manager_v1 *manager);
    Handle *handleOf(zwlr_foreign_toplevel_handle_v1 *handle);

    WaylandConnection &m_connection;
    zwlr_foreign_toplevel_manager_v1 *m_manager;
    QHash<zwlr_foreign_toplevel_handle_v1 *, Handle> m_handles;
    quint64 m_nextNumber = 1;

    friend struct ForeignToplevelEvents;
};
