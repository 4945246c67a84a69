#include "compositorsession.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>
#include <QTest>
#include <unistd.h>

namespace
{

// nobody:nogroup
constexpr uid_t sessionUser = 65534;

bool asRoot()
{
    return ::geteuid() == 0;
}

bool sessionUserMayRun(const QString &path)
{
    return QProcess::execute(QStringLiteral("setpriv"),
                             {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                              QStringLiteral("--clear-groups"), QStringLiteral("test"),
                              QStringLiteral("-x"), path}) == 0;
}

} // namespace

CompositorSession::CompositorSession(Compositor compositor, bool xwayland)
    : m_compositor(compositor), m_xwayland(xwayland),
      m_home(QDir::tempPath() + QStringLiteral("/quillstash-wayland-XXXXXX"))
{
}

CompositorSession::~CompositorSession()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(3000))
            m_process.kill();
        m_process.waitForFinished(1000);
    }
}

QStringList CompositorSession::missingPrograms(Compositor compositor, bool xwayland)
{
    QStringList programs{QStringLiteral("wl-copy"), QStringLiteral("wl-paste")};
    programs << (compositor == Compositor::Sway ? QStringLiteral("sway")
                                                : QStringLiteral("weston"));
    if (compositor == Compositor::Sway)
        programs << QStringLiteral("swaymsg");
    if (xwayland)
        programs << QStringLiteral("Xwayland") << QStringLiteral("xclip");
    if (asRoot())
        programs << QStringLiteral("setpriv");
    QStringList missing;
    for (const QString &program : programs) {
        if (QStandardPaths::findExecutable(program).isEmpty())
            missing << program;
    }
    return missing;
}

QString CompositorSession::runnable(const QString &built)
{
    if (!asRoot() || sessionUserMayRun(built))
        return built;
    // A build tree under a folder only root may enter (as CI's clone can be): the session's
    // user runs a copy.
    static QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/quillstash-programs-XXXXXX"));
    static QHash<QString, QString> copies;
    if (const auto found = copies.constFind(built); found != copies.cend())
        return *found;
    const QString copy = folder.filePath(QFileInfo(built).fileName());
    const auto readAndRun = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther;
    if (!QFile::setPermissions(folder.path(), readAndRun | QFile::WriteOwner) ||
        !QFile::copy(built, copy) || !QFile::setPermissions(copy, readAndRun))
        return built;
    copies.insert(built, copy);
    return copy;
}

void CompositorSession::handOver(const QString &path) const
{
    if (asRoot() && ::chown(QFile::encodeName(path).constData(), sessionUser, sessionUser) != 0)
        qWarning("could not hand %s over", qPrintable(path));
}

QProcessEnvironment CompositorSession::environment() const
{
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("PATH"), qEnvironmentVariable("PATH"));
    environment.insert(QStringLiteral("HOME"), m_home.path());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtimeDirectory);
    environment.insert(QStringLiteral("WAYLAND_DISPLAY"), m_waylandDisplay);
    environment.insert(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("wayland"));
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                       QStringLiteral("unix:path=/nonexistent/bus"));
    if (!m_x11Display.isEmpty())
        environment.insert(QStringLiteral("DISPLAY"), m_x11Display);
    if (!m_swaySocket.isEmpty())
        environment.insert(QStringLiteral("SWAYSOCK"), m_swaySocket);
    return environment;
}

void CompositorSession::startClient(QProcess &process, const QString &program,
                                    const QStringList &arguments,
                                    const QProcessEnvironment &environment) const
{
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(m_home.path());
    if (asRoot())
        process.start(QStringLiteral("setpriv"),
                      QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                  QStringLiteral("--clear-groups"), program} +
                          arguments);
    else
        process.start(program, arguments);
}

std::optional<QByteArray> CompositorSession::run(const QString &program,
                                                 const QStringList &arguments,
                                                 const QByteArray &input, int timeout) const
{
    QProcess process;
    startClient(process, program, arguments, environment());
    if (!process.waitForStarted(5000))
        return std::nullopt;
    if (!input.isEmpty())
        process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(timeout)) {
        process.kill();
        process.waitForFinished(1000);
        return std::nullopt;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

QString CompositorSession::compositorErrors() const
{
    QFile log(m_home.filePath(QStringLiteral("compositor.log")));
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll().right(4000)) : QString();
}

QString CompositorSession::start()
{
    if (!m_home.isValid())
        return QStringLiteral("no temporary folder");
    handOver(m_home.path());
    m_runtimeDirectory = m_home.filePath(QStringLiteral("runtime"));
    QDir().mkpath(m_runtimeDirectory);
    QFile::setPermissions(m_runtimeDirectory,
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    handOver(m_runtimeDirectory);
    const QString displayFile = m_home.filePath(QStringLiteral("x11-display"));

    QProcessEnvironment environment = this->environment();
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("WLR_BACKENDS"), QStringLiteral("headless"));
    environment.insert(QStringLiteral("WLR_RENDERER"), QStringLiteral("pixman"));
    environment.insert(QStringLiteral("WLR_LIBINPUT_NO_DEVICES"), QStringLiteral("1"));
    m_process.setStandardOutputFile(m_home.filePath(QStringLiteral("compositor.log")));
    m_process.setStandardErrorFile(m_home.filePath(QStringLiteral("compositor.log")),
                                   QIODevice::Append);
    if (m_compositor == Compositor::Sway) {
        const QString config = m_home.filePath(QStringLiteral("sway.conf"));
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly))
            return QStringLiteral("cannot write the sway configuration");
        file.write(m_xwayland ? "xwayland force\n" : "xwayland disable\n");
        // Where XWayland runs, as sway hands it to the programs it starts.
        file.write(
            QStringLiteral("exec sh -c 'echo \"$DISPLAY\" > %1'\n").arg(displayFile).toUtf8());
        file.close();
        handOver(config);
        startClient(m_process, QStringLiteral("sway"), {QStringLiteral("-c"), config}, environment);
    } else {
        startClient(m_process, QStringLiteral("weston"),
                    QStringList{QStringLiteral("--backend=headless-backend.so"),
                                QStringLiteral("--socket=wayland-quillstash"),
                                QStringLiteral("--idle-time=0")} +
                        (m_xwayland ? QStringList{QStringLiteral("--xwayland")} : QStringList()),
                    environment);
    }
    if (!m_process.waitForStarted(5000))
        return QStringLiteral("the compositor did not start");

    const QDir runtime(m_runtimeDirectory);
    const bool up = QTest::qWaitFor(
        [&] {
            const QStringList sockets =
                runtime.entryList({QStringLiteral("wayland-*")}, QDir::System);
            for (const QString &socket : sockets) {
                if (!socket.endsWith(u".lock"))
                    m_waylandDisplay = socket;
            }
            return !m_waylandDisplay.isEmpty() || m_process.state() == QProcess::NotRunning;
        },
        10000);
    if (!up || m_waylandDisplay.isEmpty())
        return QStringLiteral("the compositor offers no socket:\n") + compositorErrors();
    if (m_compositor == Compositor::Sway) {
        const bool ipc = QTest::qWaitFor(
            [&] {
                const QStringList sockets =
                    runtime.entryList({QStringLiteral("sway-ipc.*")}, QDir::System);
                if (!sockets.isEmpty())
                    m_swaySocket = runtime.filePath(sockets.first());
                return !m_swaySocket.isEmpty();
            },
            5000);
        if (!ipc)
            return QStringLiteral("sway opened no IPC socket:\n") + compositorErrors();
        if (m_xwayland && !QTest::qWaitFor([&] { return QFile(displayFile).size() > 1; }, 10000))
            return QStringLiteral("sway started no XWayland:\n") + compositorErrors();
        QFile display(displayFile);
        if (m_xwayland && display.open(QIODevice::ReadOnly))
            m_x11Display = QString::fromUtf8(display.readAll()).trimmed();
    } else if (m_xwayland) {
        // Weston names its X display in its log.
        const bool found = QTest::qWaitFor(
            [&] {
                const QString log = compositorErrors();
                const qsizetype at = log.indexOf(QStringLiteral("xserver listening on display "));
                if (at < 0)
                    return false;
                m_x11Display = log.mid(at + 29).section(u'\n', 0, 0).trimmed();
                return !m_x11Display.isEmpty();
            },
            10000);
        if (!found)
            return QStringLiteral("weston started no XWayland:\n") + compositorErrors();
    }
    return {};
}
