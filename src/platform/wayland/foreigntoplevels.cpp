#include "foreigntoplevels.h"

#include "waylandconnection.h"
#include "wlr-foreign-toplevel-management-unstable-v1-client-protocol.h"

#include <wayland-client.h>

struct ForeignToplevelEvents {
    static ForeignToplevels::Handle *of(void *data, zwlr_foreign_toplevel_handle_v1 *handle)
    {
        return static_cast<ForeignToplevels *>(data)->handleOf(handle);
    }
    static void title(void *data, zwlr_foreign_toplevel_handle_v1 *handle, const char *title)
    {
        if (auto *entry = of(data, handle))
            entry->pending.title = QString::fromUtf8(title);
    }
    static void appId(void *data, zwlr_foreign_toplevel_handle_v1 *handle, const char *appId)
    {
        if (auto *entry = of(data, handle))
            entry->pending.appId = QString::fromUtf8(appId);
    }
    static void output(void *, zwlr_foreign_toplevel_handle_v1 *, wl_output *) {}
    static void state(void *data, zwlr_foreign_toplevel_handle_v1 *handle, wl_array *states)
    {
        auto *entry = of(data, handle);
        if (!entry)
            return;
        entry->pending.activated = false;
        const auto *values = static_cast<const uint32_t *>(states->data);
        for (size_t i = 0; i < states->size / sizeof(uint32_t); ++i) {
            if (values[i] == ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED)
                entry->pending.activated = true;
        }
    }
    static void done(void *data, zwlr_foreign_toplevel_handle_v1 *handle)
    {
        if (auto *entry = of(data, handle))
            entry->current = entry->pending;
    }
    static void closed(void *data, zwlr_foreign_toplevel_handle_v1 *handle)
    {
        static_cast<ForeignToplevels *>(data)->m_handles.remove(handle);
        zwlr_foreign_toplevel_handle_v1_destroy(handle);
    }
    static void parent(void *, zwlr_foreign_toplevel_handle_v1 *, zwlr_foreign_toplevel_handle_v1 *)
    {
    }
};

std::unique_ptr<ForeignToplevels> ForeignToplevels::create(WaylandConnection &connection)
{
    auto *manager = static_cast<zwlr_foreign_toplevel_manager_v1 *>(
        connection.bind(&zwlr_foreign_toplevel_manager_v1_interface, 3));
    if (!manager)
        return nullptr;
    std::unique_ptr<ForeignToplevels> toplevels(new ForeignToplevels(connection, manager));
    // The windows that exist already arrive at once.
    connection.roundtrip();
    return toplevels;
}

ForeignToplevels::ForeignToplevels(WaylandConnection &connection,
                                   zwlr_foreign_toplevel_manager_v1 *manager)
    : m_connection(connection), m_manager(manager)
{
    static const zwlr_foreign_toplevel_manager_v1_listener listener = {
        .toplevel = &ForeignToplevels::handleToplevel,
        .finished = &ForeignToplevels::handleFinished,
    };
    zwlr_foreign_toplevel_manager_v1_add_listener(m_manager, &listener, this);
}

ForeignToplevels::~ForeignToplevels()
{
    for (auto handle = m_handles.keyBegin(); handle != m_handles.keyEnd(); ++handle)
        zwlr_foreign_toplevel_handle_v1_destroy(*handle);
    if (m_manager)
        zwlr_foreign_toplevel_manager_v1_stop(m_manager);
    m_connection.flush();
}

void ForeignToplevels::handleToplevel(void *data, zwlr_foreign_toplevel_manager_v1 *,
                                      zwlr_foreign_toplevel_handle_v1 *handle)
{
    static const zwlr_foreign_toplevel_handle_v1_listener listener = {
        .title = &ForeignToplevelEvents::title,
        .app_id = &ForeignToplevelEvents::appId,
        .output_enter = &ForeignToplevelEvents::output,
        .output_leave = &ForeignToplevelEvents::output,
        .state = &ForeignToplevelEvents::state,
        .done = &ForeignToplevelEvents::done,
        .closed = &ForeignToplevelEvents::closed,
        .parent = &ForeignToplevelEvents::parent,
    };
    auto *self = static_cast<ForeignToplevels *>(data);
    Handle entry;
    entry.pending.number = self->m_nextNumber++;
    entry.current.number = entry.pending.number;
    self->m_handles.insert(handle, entry);
    zwlr_foreign_toplevel_handle_v1_add_listener(handle, &listener, self);
}

void ForeignToplevels::handleFinished(void *data, zwlr_foreign_toplevel_manager_v1 *manager)
{
    auto *self = static_cast<ForeignToplevels *>(data);
    zwlr_foreign_toplevel_manager_v1_destroy(manager);
    self->m_manager = nullptr;
}

ForeignToplevels::Handle *ForeignToplevels::handleOf(zwlr_foreign_toplevel_handle_v1 *handle)
{
    const auto found = m_handles.find(handle);
    return found == m_handles.end() ? nullptr : &*found;
}

std::optional<ForeignToplevels::Toplevel> ForeignToplevels::activated() const
{
    for (const Handle &entry : m_handles) {
        if (entry.current.activated)
            return entry.current;
    }
    return std::nullopt;
}

bool ForeignToplevels::activate(quint64 number)
{
    for (auto entry = m_handles.cbegin(); entry != m_handles.cend(); ++entry) {
        if (entry->current.number == number && m_connection.seat()) {
            zwlr_foreign_toplevel_handle_v1_activate(entry.key(), m_connection.seat());
            m_connection.flush();
            return true;
        }
    }
    return false;
}
