#pragma once

#include <QByteArray>
#include <QStringList>
#include <sys/types.h>

// A private X server (Xvfb on a free display number) with openbox as its window manager,
// ended with the session.
class XvfbSession
{
public:
    XvfbSession() = default;
    ~XvfbSession();
    XvfbSession(const XvfbSession &) = delete;
    XvfbSession &operator=(const XvfbSession &) = delete;

    // The programs the X11 tests need that are not installed.
    static QStringList missingPrograms();

    // Empty on success, else what went wrong.
    QString start();
    // ":N"
    QByteArray display() const { return m_display; }

private:
    pid_t m_server = 0;
    pid_t m_windowManager = 0;
    QByteArray m_display;
};
