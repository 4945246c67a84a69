#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <optional>

// A private headless Wayland compositor (sway, or weston for the fallbacks), with or without
// XWayland, and the clients the tests start in it. Compositors refuse to run as root, so under
// root the compositor and every client run as an unprivileged user, in folders that user owns.
class CompositorSession
{
public:
    enum class Compositor { Sway, Weston };

    CompositorSession(Compositor compositor, bool xwayland);
    ~CompositorSession();
    CompositorSession(const CompositorSession &) = delete;
    CompositorSession &operator=(const CompositorSession &) = delete;

    // The programs a session of this kind needs that are not installed.
    static QStringList missingPrograms(Compositor compositor, bool xwayland);

    // A program of the build tree, or a copy of it where the session's user may not run it.
    static QString runnable(const QString &built);

    // Empty on success, else what went wrong.
    QString start();

    // For clients: the session's sockets and a home of their own, no session bus.
    QProcessEnvironment environment() const;
    // A folder the clients may write into.
    QString home() const { return m_home.path(); }
    // Starts a client in the session (as the session's user).
    void startClient(QProcess &process, const QString &program, const QStringList &arguments,
                     const QProcessEnvironment &environment) const;
    // Runs a client to its end; its standard output, or nothing when it failed.
    std::optional<QByteArray> run(const QString &program, const QStringList &arguments,
                                  const QByteArray &input = {}, int timeout = 10000) const;
    // Hands a file or folder made by the tests over to the session's user.
    void handOver(const QString &path) const;
    QString compositorErrors() const;

private:
    Compositor m_compositor;
    bool m_xwayland;
    QTemporaryDir m_home;
    QString m_runtimeDirectory;
    QString m_waylandDisplay;
    QString m_x11Display;
    QString m_swaySocket;
    QProcess m_process;
};
