#pragma once

#include <QCoreApplication>
#include <QString>
#include <memory>

class ClipboardPasteboard;
class DataControlPasteboard;
class ForeignToplevels;
class FrontApplication;
class KeySynthesizer;
class Pasteboard;
class QClipboard;
class VirtualKeyboardSynthesizer;
class WaylandConnection;
class WaylandFrontApplication;
class WaylandKeySynthesizer;
class WaylandWindowActivator;
class WindowActivator;
class X11FrontApplication;
class X11WindowActivator;
class XTestKeySynthesizer;

// The clipboard, front-application, activation and key services, chosen once at start: the
// X11 ones on an X11 desktop; on a Wayland session whatever the compositor offers of its own,
// with the X11 ones through XWayland for X11 programs and where the compositor offers nothing.
class SessionServices
{
    Q_DECLARE_TR_FUNCTIONS(SessionServices)

public:
    explicit SessionServices(QClipboard *clipboard);
    ~SessionServices();
    SessionServices(const SessionServices &) = delete;
    SessionServices &operator=(const SessionServices &) = delete;

    Pasteboard &pasteboard() const { return *m_pasteboard; }
    FrontApplication &frontApplication() const { return *m_frontApplication; }
    WindowActivator &windowActivator() const { return *m_windowActivator; }
    KeySynthesizer &keySynthesizer() const { return *m_keySynthesizer; }

    // On a Wayland session, one line on where each service comes from and which are missing;
    // empty elsewhere.
    QString waylandSummary() const { return m_summary; }

private:
    void chooseWayland();

    std::unique_ptr<WaylandConnection> m_wayland;
    std::unique_ptr<ClipboardPasteboard> m_clipboardPasteboard;
    std::unique_ptr<DataControlPasteboard> m_dataControlPasteboard;
    std::unique_ptr<X11FrontApplication> m_x11FrontApplication;
    std::unique_ptr<ForeignToplevels> m_toplevels;
    std::unique_ptr<WaylandFrontApplication> m_waylandFrontApplication;
    std::unique_ptr<X11WindowActivator> m_x11WindowActivator;
    std::unique_ptr<WaylandWindowActivator> m_waylandWindowActivator;
    std::unique_ptr<XTestKeySynthesizer> m_xtestKeySynthesizer;
    std::unique_ptr<VirtualKeyboardSynthesizer> m_virtualKeyboard;
    std::unique_ptr<WaylandKeySynthesizer> m_waylandKeySynthesizer;

    Pasteboard *m_pasteboard = nullptr;
    FrontApplication *m_frontApplication = nullptr;
    WindowActivator *m_windowActivator = nullptr;
    KeySynthesizer *m_keySynthesizer = nullptr;
    QString m_summary;
};
