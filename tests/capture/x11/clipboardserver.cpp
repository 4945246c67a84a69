#include "clipboardserver.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

ClipboardServer::ClipboardServer() : m_display(XOpenDisplay(nullptr))
{
    if (!m_display)
        return;
    m_window = XCreateSimpleWindow(m_display, DefaultRootWindow(m_display), 0, 0, 1, 1, 0, 0, 0);
    m_clipboard = XInternAtom(m_display, "CLIPBOARD", False);
    m_targets = XInternAtom(m_display, "TARGETS", False);
    m_utf8 = XInternAtom(m_display, "UTF8_STRING", False);
    if (::pipe2(m_wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        XCloseDisplay(m_display);
        m_display = nullptr;
        return;
    }
    m_thread = std::thread([this] { run(); });
}

ClipboardServer::~ClipboardServer()
{
    if (!m_display)
        return;
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    [[maybe_unused]] const ssize_t woken = ::write(m_wake[1], "x", 1);
    m_thread.join();
    ::close(m_wake[0]);
    ::close(m_wake[1]);
    XDestroyWindow(m_display, m_window);
    XCloseDisplay(m_display);
}

ClipboardServer::Clock::time_point ClipboardServer::copy(const QByteArray &text)
{
    std::unique_lock lock(m_mutex);
    m_text = text;
    const std::uint64_t copy = ++m_asked;
    lock.unlock();
    [[maybe_unused]] const ssize_t woken = ::write(m_wake[1], "x", 1);
    lock.lock();
    m_changed.wait(lock, [&] { return m_owned >= copy; });
    return m_takenAt;
}

bool ClipboardServer::waitUntilRead(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, timeout, [this] { return m_read >= m_asked; });
}

void ClipboardServer::run()
{
    const int connection = ConnectionNumber(m_display);
    for (;;) {
        // Xlib may hold events it has already read off the connection.
        while (XPending(m_display) > 0) {
            XEvent event;
            XNextEvent(m_display, &event);
            if (event.type == SelectionRequest)
                answer(&event.xselectionrequest);
        }
        pollfd waits[] = {{connection, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
        ::poll(waits, 2, -1);
        char drained[64];
        while (::read(m_wake[0], drained, sizeof drained) > 0) {
        }
        {
            const std::lock_guard lock(m_mutex);
            if (m_stopping)
                return;
            if (m_owned == m_asked)
                continue;
        }
        take();
    }
}

void ClipboardServer::take()
{
    std::unique_lock lock(m_mutex);
    const QByteArray text = m_text;
    const std::uint64_t copy = m_asked;
    lock.unlock();
    const Clock::time_point at = Clock::now();
    XSetSelectionOwner(m_display, m_clipboard, m_window, CurrentTime);
    // A round trip: the server has handled the request once it answers this one.
    XSync(m_display, False);
    lock.lock();
    m_served = text;
    m_owned = copy;
    m_takenAt = at;
    m_changed.notify_all();
}

void ClipboardServer::answer(const void *event)
{
    const auto &request = *static_cast<const XSelectionRequestEvent *>(event);
    XSelectionEvent reply{};
    reply.type = SelectionNotify;
    reply.display = m_display;
    reply.requestor = request.requestor;
    reply.selection = request.selection;
    reply.target = request.target;
    reply.time = request.time;
    reply.property = None;
    // Clients from before ICCCM 2 name no property.
    const Atom property = request.property == None ? request.target : request.property;
    bool served = false;
    if (request.selection == m_clipboard && request.target == m_targets) {
        const Atom targets[] = {Atom(m_targets), Atom(m_utf8)};
        XChangeProperty(m_display, request.requestor, property, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char *>(targets), 2);
        reply.property = property;
    } else if (request.selection == m_clipboard && request.target == m_utf8) {
        std::unique_lock lock(m_mutex);
        const QByteArray text = m_served;
        lock.unlock();
        XChangeProperty(m_display, request.requestor, property, m_utf8, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char *>(text.constData()),
                        int(text.size()));
        reply.property = property;
        served = true;
    }
    XSendEvent(m_display, request.requestor, False, NoEventMask,
               reinterpret_cast<XEvent *>(&reply));
    XFlush(m_display);
    if (served) {
        const std::lock_guard lock(m_mutex);
        m_read = m_owned;
        m_changed.notify_all();
    }
}
