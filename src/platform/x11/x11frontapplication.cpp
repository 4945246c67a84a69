#include "x11frontapplication.h"

#include <QCoreApplication>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XRes.h>

namespace
{

// Xlib's default handler ends the process on any error; a window that closes while it is
// being looked at must not do that.
class IgnoredErrors
{
public:
    explicit IgnoredErrors(Display *display) : m_display(display)
    {
        XSync(m_display, False);
        m_previous = XSetErrorHandler([](Display *, XErrorEvent *) { return 0; });
    }
    ~IgnoredErrors()
    {
        XSync(m_display, False);
        XSetErrorHandler(m_previous);
    }
    IgnoredErrors(const IgnoredErrors &) = delete;
    IgnoredErrors &operator=(const IgnoredErrors &) = delete;

private:
    Display *m_display;
    XErrorHandler m_previous;
};

// The first 32-bit item of a property (Xlib hands them over as longs).
std::optional<unsigned long> cardinalProperty(Display *display, Window window, const char *name,
                                              Atom type)
{
    const Atom property = XInternAtom(display, name, True);
    if (property == None)
        return std::nullopt;
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char *data = nullptr;
    if (XGetWindowProperty(display, window, property, 0, 1, False, type, &actualType, &format,
                           &count, &remaining, &data) != Success)
        return std::nullopt;
    std::optional<unsigned long> value;
    if (data && actualType == type && format == 32 && count == 1)
        value = *reinterpret_cast<unsigned long *>(data);
    if (data)
        XFree(data);
    return value;
}

} // namespace

X11FrontApplication::X11FrontApplication(const QByteArray &displayName, DesktopEntryIndex entries)
    : m_display(XOpenDisplay(displayName.isEmpty() ? nullptr : displayName.constData())),
      m_entries(std::move(entries))
{
}

X11FrontApplication::~X11FrontApplication()
{
    if (m_display)
        XCloseDisplay(m_display);
}

unsigned long X11FrontApplication::activeWindow()
{
    const Window root = DefaultRootWindow(m_display);
    if (const std::optional<unsigned long> active =
            cardinalProperty(m_display, root, "_NET_ACTIVE_WINDOW", XA_WINDOW))
        return *active;
    // Without a window manager: the focus, unless it is None or PointerRoot.
    Window focus = None;
    int revert = 0;
    XGetInputFocus(m_display, &focus, &revert);
    return focus == PointerRoot ? None : focus;
}

qint64 X11FrontApplication::processOf(unsigned long window)
{
    if (const std::optional<unsigned long> pid =
            cardinalProperty(m_display, window, "_NET_WM_PID", XA_CARDINAL))
        return qint64(*pid);
    // Clients that do not set _NET_WM_PID: ask the server which process owns the window.
    int eventBase = 0;
    int errorBase = 0;
    if (!XResQueryExtension(m_display, &eventBase, &errorBase))
        return 0;
    XResClientIdSpec client{window, XRES_CLIENT_ID_PID_MASK};
    long count = 0;
    XResClientIdValue *values = nullptr;
    if (XResQueryClientIds(m_display, 1, &client, &count, &values) != Success)
        return 0;
    qint64 pid = 0;
    for (long i = 0; i < count && pid <= 0; ++i)
        pid = XResGetClientPid(&values[i]);
    XResClientIdsDestroy(count, values);
    return std::max<qint64>(pid, 0);
}

bool X11FrontApplication::isViewable(unsigned long window)
{
    XWindowAttributes attributes{};
    return XGetWindowAttributes(m_display, window, &attributes) &&
           attributes.map_state == IsViewable;
}

std::optional<RunningApplication> X11FrontApplication::frontmostApplication()
{
    if (!m_display)
        return std::nullopt;
    const IgnoredErrors ignored(m_display);
    const Window window = activeWindow();
    if (window == None)
        return std::nullopt;

    RunningApplication app{.processId = processOf(window), .windowId = window};
    // The window manager may go on naming our board after it hid; the user's next copy is
    // made elsewhere and must not count as our own.
    if (app.processId == QCoreApplication::applicationPid() && !isViewable(window))
        return std::nullopt;
    XClassHint hint{nullptr, nullptr};
    if (XGetClassHint(m_display, window, &hint)) {
        const QString instanceName = QString::fromLocal8Bit(hint.res_name);
        const QString className = QString::fromLocal8Bit(hint.res_class);
        XFree(hint.res_name);
        XFree(hint.res_class);
        if (const std::optional<DesktopEntryIndex::Entry> entry =
                m_entries.find(className, instanceName)) {
            app.localizedName = entry->name;
            app.bundleIdentifier = entry->id;
        } else {
            app.localizedName = className;
        }
    }
    return app;
}
