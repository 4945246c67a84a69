#include "xvfbsession.h"

#include <QElapsedTimer>
#include <QStandardPaths>
#include <X11/Xlib.h>
#include <csignal>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace
{

pid_t spawn(std::vector<std::string> arguments)
{
    std::vector<char *> argv;
    for (std::string &argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    return posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) == 0 ? pid : 0;
}

void end(pid_t &pid)
{
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    for (int i = 0; i < 100 && waitpid(pid, nullptr, WNOHANG) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (waitpid(pid, nullptr, WNOHANG) == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    pid = 0;
}

bool hasWindowManager(Display *display)
{
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == None)
        return false;
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char *data = nullptr;
    const bool found =
        XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, AnyPropertyType,
                           &type, &format, &count, &remaining, &data) == Success &&
        count == 1;
    if (data)
        XFree(data);
    return found;
}

} // namespace

QStringList XvfbSession::missingPrograms()
{
    QStringList missing;
    for (const char *program : {"Xvfb", "openbox", "xclip"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty())
            missing.append(QString::fromLatin1(program));
    }
    return missing;
}

QString XvfbSession::start()
{
    int fds[2];
    if (pipe(fds) != 0)
        return QStringLiteral("no pipe");
    m_server = spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1280x800x24",
                      "-nolisten", "tcp", "-noreset"});
    close(fds[1]);
    QByteArray number;
    pollfd readable{fds[0], POLLIN, 0};
    while (m_server && poll(&readable, 1, 10000) > 0) {
        char c = 0;
        if (read(fds[0], &c, 1) != 1 || c == '\n')
            break;
        number.append(c);
    }
    close(fds[0]);
    if (number.isEmpty())
        return QStringLiteral("Xvfb did not start");
    m_display = ':' + number;
    setenv("DISPLAY", m_display.constData(), 1);

    Display *display = XOpenDisplay(m_display.constData());
    if (!display)
        return QStringLiteral("cannot open ") + QString::fromLatin1(m_display);
    m_windowManager = spawn({"openbox", "--sm-disable"});
    QElapsedTimer waited;
    waited.start();
    while (!hasWindowManager(display) && waited.elapsed() < 10000)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const bool managed = hasWindowManager(display);
    XCloseDisplay(display);
    return managed ? QString() : QStringLiteral("openbox did not start");
}

XvfbSession::~XvfbSession()
{
    end(m_windowManager);
    end(m_server);
}
