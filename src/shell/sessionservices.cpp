#include "sessionservices.h"

#include "platform/wayland/datacontrolpasteboard.h"
#include "platform/wayland/foreigntoplevels.h"
#include "platform/wayland/virtualkeyboardsynthesizer.h"
#include "platform/wayland/waylandconnection.h"
#include "platform/wayland/waylandfrontapplication.h"
#include "platform/wayland/waylandkeysynthesizer.h"
#include "platform/wayland/waylandwindowactivator.h"
#include "platform/x11/clipboardpasteboard.h"
#include "platform/x11/x11frontapplication.h"
#include "platform/x11/x11windowactivator.h"
#include "platform/x11/xtestkeysynthesizer.h"

SessionServices::SessionServices(QClipboard *clipboard)
    : m_x11FrontApplication(std::make_unique<X11FrontApplication>()),
      m_x11WindowActivator(std::make_unique<X11WindowActivator>()),
      m_xtestKeySynthesizer(std::make_unique<XTestKeySynthesizer>())
{
    m_frontApplication = m_x11FrontApplication.get();
    m_windowActivator = m_x11WindowActivator.get();
    m_keySynthesizer = m_xtestKeySynthesizer.get();
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        chooseWayland();
    if (!m_dataControlPasteboard)
        m_clipboardPasteboard = std::make_unique<ClipboardPasteboard>(clipboard);
    m_pasteboard = m_dataControlPasteboard
                       ? static_cast<Pasteboard *>(m_dataControlPasteboard.get())
                       : m_clipboardPasteboard.get();
}

SessionServices::~SessionServices() = default;

void SessionServices::chooseWayland()
{
    m_wayland = WaylandConnection::open();
    if (!m_wayland) {
        m_summary = tr("Quillstash: no Wayland compositor answers at %1; every service comes "
                       "from X11.")
                        .arg(qEnvironmentVariable("WAYLAND_DISPLAY"));
        return;
    }
    m_dataControlPasteboard = DataControlPasteboard::create(*m_wayland);
    m_toplevels = ForeignToplevels::create(*m_wayland);
    m_virtualKeyboard = VirtualKeyboardSynthesizer::create(*m_wayland);
    const bool x11 = !qEnvironmentVariableIsEmpty("DISPLAY");

    m_waylandFrontApplication = std::make_unique<WaylandFrontApplication>(
        m_toplevels.get(), x11 ? m_x11FrontApplication.get() : nullptr);
    m_waylandWindowActivator = std::make_unique<WaylandWindowActivator>(
        m_toplevels.get(), x11 ? m_x11WindowActivator.get() : nullptr);
    m_waylandKeySynthesizer = std::make_unique<WaylandKeySynthesizer>(
        *m_waylandWindowActivator, x11 ? m_xtestKeySynthesizer.get() : nullptr,
        m_virtualKeyboard.get());
    m_frontApplication = m_waylandFrontApplication.get();
    m_windowActivator = m_waylandWindowActivator.get();
    m_keySynthesizer = m_waylandKeySynthesizer.get();

    QStringList present;
    QStringList missing;
    if (m_dataControlPasteboard)
        present << tr("clipboard through %1").arg(m_dataControlPasteboard->protocolName());
    else
        missing << (x11 ? tr("the clipboard of unfocused programs (only what the compositor "
                             "hands to XWayland is seen)")
                        : tr("the clipboard of unfocused programs"));
    if (m_toplevels)
        present << tr("front windows through wlr-foreign-toplevel-management-unstable-v1");
    else
        missing << tr("the source application of Wayland windows");
    if (m_virtualKeyboard)
        present << tr("paste through virtual-keyboard-unstable-v1");
    else
        missing << tr("paste into Wayland windows (the clipping is left on the clipboard)");
    m_summary = tr("Quillstash: Wayland services: %1; missing: %2.")
                    .arg(present.isEmpty() ? tr("none") : present.join(QStringLiteral(", ")),
                         missing.isEmpty() ? tr("none") : missing.join(QStringLiteral(", ")));
}
