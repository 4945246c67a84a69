#include "virtualkeyboardsynthesizer.h"

#include "virtual-keyboard-unstable-v1-client-protocol.h"
#include "waylandconnection.h"

#include <QTimer>
#include <chrono>
#include <cstring>
#include <linux/input-event-codes.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

namespace
{

constexpr qint64 keymapSettleMilliseconds = 150;

uint32_t milliseconds()
{
    using namespace std::chrono;
    return uint32_t(
        duration_cast<std::chrono::milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// The default layout's keymap in a sealed memory file; -1 when it cannot be made.
int keymapFile(uint32_t &size, uint32_t &controlMask)
{
    xkb_context *context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    if (!context)
        return -1;
    const xkb_rule_names names{};
    xkb_keymap *keymap = xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
    int fd = -1;
    if (keymap) {
        const xkb_mod_index_t control = xkb_keymap_mod_get_index(keymap, XKB_MOD_NAME_CTRL);
        char *text = xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1);
        if (text && control != XKB_MOD_INVALID) {
            controlMask = uint32_t(1) << control;
            size = uint32_t(std::strlen(text) + 1);
            fd = ::memfd_create("quillstash-keymap", MFD_CLOEXEC);
            if (fd >= 0 && ::write(fd, text, size) != ssize_t(size)) {
                ::close(fd);
                fd = -1;
            }
        }
        std::free(text);
        xkb_keymap_unref(keymap);
    }
    xkb_context_unref(context);
    return fd;
}

} // namespace

std::unique_ptr<VirtualKeyboardSynthesizer>
VirtualKeyboardSynthesizer::create(WaylandConnection &connection)
{
    if (!connection.seat())
        return nullptr;
    uint32_t size = 0;
    uint32_t controlMask = 0;
    auto *manager = static_cast<zwp_virtual_keyboard_manager_v1 *>(
        connection.bind(&zwp_virtual_keyboard_manager_v1_interface, 1));
    if (!manager)
        return nullptr;
    const int fd = keymapFile(size, controlMask);
    if (fd < 0) {
        zwp_virtual_keyboard_manager_v1_destroy(manager);
        return nullptr;
    }
    zwp_virtual_keyboard_v1 *keyboard =
        zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(manager, connection.seat());
    zwp_virtual_keyboard_v1_keymap(keyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd, size);
    ::close(fd);
    zwp_virtual_keyboard_manager_v1_destroy(manager);
    connection.flush();
    return std::unique_ptr<VirtualKeyboardSynthesizer>(
        new VirtualKeyboardSynthesizer(connection, keyboard, controlMask));
}

VirtualKeyboardSynthesizer::VirtualKeyboardSynthesizer(WaylandConnection &connection,
                                                       zwp_virtual_keyboard_v1 *keyboard,
                                                       uint32_t controlMask)
    : m_connection(connection), m_keyboard(keyboard), m_controlMask(controlMask)
{
    m_sinceKeymap.start();
}

VirtualKeyboardSynthesizer::~VirtualKeyboardSynthesizer()
{
    zwp_virtual_keyboard_v1_destroy(m_keyboard);
    m_connection.flush();
}

void VirtualKeyboardSynthesizer::postPasteShortcut()
{
    const qint64 wait = keymapSettleMilliseconds - m_sinceKeymap.elapsed();
    if (wait > 0)
        QTimer::singleShot(std::chrono::milliseconds(wait), this,
                           &VirtualKeyboardSynthesizer::sendChord);
    else
        sendChord();
}

void VirtualKeyboardSynthesizer::sendChord()
{
    // Key codes are the kernel's, as on wl_keyboard.
    const uint32_t pressed = WL_KEYBOARD_KEY_STATE_PRESSED;
    const uint32_t released = WL_KEYBOARD_KEY_STATE_RELEASED;
    zwp_virtual_keyboard_v1_key(m_keyboard, milliseconds(), KEY_LEFTCTRL, pressed);
    zwp_virtual_keyboard_v1_modifiers(m_keyboard, m_controlMask, 0, 0, 0);
    zwp_virtual_keyboard_v1_key(m_keyboard, milliseconds(), KEY_V, pressed);
    zwp_virtual_keyboard_v1_key(m_keyboard, milliseconds(), KEY_V, released);
    zwp_virtual_keyboard_v1_key(m_keyboard, milliseconds(), KEY_LEFTCTRL, released);
    zwp_virtual_keyboard_v1_modifiers(m_keyboard, 0, 0, 0, 0);
    m_connection.flush();
}
