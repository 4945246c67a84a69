// Another program's copy on a Wayland seat, for the tests: offers each TYPE:VALUE given on the
// command line through data-control, prints "ready" once it owns the clipboard and exits when
// another program takes it over. Hostile owners for the robustness tests:
//   --stuck        never writes anything, and never closes what it is asked to write into
//   --flood BYTES  answers every request with BYTES bytes
//   --types COUNT  also lists COUNT made-up types
#include "wlr-data-control-unstable-v1-client-protocol.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>
#include <wayland-client.h>

namespace
{

struct State {
    wl_seat *seat = nullptr;
    zwlr_data_control_manager_v1 *manager = nullptr;
    std::map<std::string, std::string> offers;
    bool stuck = false;
    long long flood = -1;
    bool cancelled = false;
    std::vector<int> held;
};

void global(void *data, wl_registry *registry, uint32_t name, const char *interface, uint32_t)
{
    auto *state = static_cast<State *>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && !state->seat)
        state->seat =
            static_cast<wl_seat *>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    if (std::strcmp(interface, zwlr_data_control_manager_v1_interface.name) == 0)
        state->manager = static_cast<zwlr_data_control_manager_v1 *>(
            wl_registry_bind(registry, name, &zwlr_data_control_manager_v1_interface, 1));
}

void globalRemove(void *, wl_registry *, uint32_t) {}

void writeAll(int fd, const char *bytes, size_t size)
{
    while (size > 0) {
        const ssize_t count = write(fd, bytes, size);
        if (count <= 0)
            return;
        bytes += count;
        size -= size_t(count);
    }
}

void send(void *data, zwlr_data_control_source_v1 *, const char *mimeType, int32_t fd)
{
    auto *state = static_cast<State *>(data);
    if (state->stuck) {
        state->held.push_back(fd);
        return;
    }
    if (state->flood >= 0) {
        const std::string block(1 << 20, 'x');
        for (long long left = state->flood; left > 0; left -= static_cast<long long>(block.size()))
            writeAll(fd, block.data(),
                     size_t(std::min<long long>(left, static_cast<long long>(block.size()))));
    } else {
        const std::string &value = state->offers[mimeType];
        writeAll(fd, value.data(), value.size());
    }
    close(fd);
}

void cancelled(void *data, zwlr_data_control_source_v1 *)
{
    static_cast<State *>(data)->cancelled = true;
}

} // namespace

int main(int argc, char **argv)
{
    std::signal(SIGPIPE, SIG_IGN);
    State state;
    long long extraTypes = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--stuck")
            state.stuck = true;
        else if (argument == "--flood" && i + 1 < argc)
            state.flood = std::atoll(argv[++i]);
        else if (argument == "--types" && i + 1 < argc)
            extraTypes = std::atoll(argv[++i]);
        else if (const auto equals = argument.find(':'); equals != std::string::npos)
            state.offers[argument.substr(0, equals)] = argument.substr(equals + 1);
    }
    wl_display *display = wl_display_connect(nullptr);
    if (!display) {
        std::fprintf(stderr, "dataoffer: no Wayland display\n");
        return 1;
    }
    static const wl_registry_listener registryListener = {global, globalRemove};
    wl_registry_add_listener(wl_display_get_registry(display), &registryListener, &state);
    wl_display_roundtrip(display);
    if (!state.seat || !state.manager) {
        std::fprintf(stderr, "dataoffer: the compositor offers no data-control\n");
        return 1;
    }
    zwlr_data_control_device_v1 *device =
        zwlr_data_control_manager_v1_get_data_device(state.manager, state.seat);
    zwlr_data_control_source_v1 *source =
        zwlr_data_control_manager_v1_create_data_source(state.manager);
    static const zwlr_data_control_source_v1_listener sourceListener = {send, cancelled};
    zwlr_data_control_source_v1_add_listener(source, &sourceListener, &state);
    for (long long i = 0; i < extraTypes; ++i)
        zwlr_data_control_source_v1_offer(source,
                                          ("application/x-made-up-" + std::to_string(i)).c_str());
    for (const auto &[type, value] : state.offers)
        zwlr_data_control_source_v1_offer(source, type.c_str());
    zwlr_data_control_device_v1_set_selection(device, source);
    wl_display_roundtrip(display);
    std::printf("ready\n");
    std::fflush(stdout);
    while (!state.cancelled && wl_display_dispatch(display) >= 0) {
    }
    for (const int fd : state.held)
        close(fd);
    wl_display_disconnect(display);
    return 0;
}
