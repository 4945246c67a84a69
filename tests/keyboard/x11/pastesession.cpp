#include "pastesession.h"

#include "model/clippingjson.h"
#include "store/inisettingsstore.h"
#include "store/storefile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <algorithm>
#include <chrono>

namespace
{

constexpr int waitLimit = 5000;

bool run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(waitLimit) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

void end(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(1000);
    }
}

} // namespace

PasteSession::PasteSession(const QString &program, const QString &target)
    : m_programPath(program), m_targetPath(target)
{
}

PasteSession::~PasteSession()
{
    end(m_program);
    end(m_target);
}

double PasteSession::now()
{
    return std::chrono::duration<double, std::milli>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

QString PasteSession::start()
{
    if (!m_home.isValid())
        return QStringLiteral("no temporary folder");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), m_home.filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                       m_home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    {
        const QString folder = m_home.filePath(QStringLiteral("config/Quillstash"));
        QDir().mkpath(folder);
        IniSettingsStore(folder + QStringLiteral("/Quillstash.conf"))
            .setValue(QStringLiteral("Quillstash.autoPasteDirect"), true);
    }

    m_target.setProcessEnvironment(environment);
    m_target.start(m_targetPath);
    std::optional<QByteArray> ready = nextLine(m_target, m_targetBuffer, nullptr, 10000);
    if (!ready || !ready->startsWith("ready "))
        return QStringLiteral("the target program did not come up");
    m_targetWindow = QString::fromLatin1(ready->mid(6));

    environment.insert(QStringLiteral("QUILLSTASH_TEST_TRACE"), QStringLiteral("1"));
    m_program.setProcessEnvironment(environment);
    m_program.setReadChannel(QProcess::StandardError);
    // Hidden at first, as after a login start: the tests bring the board up themselves.
    m_program.start(m_programPath, {QStringLiteral("--background")});
    if (!m_program.waitForStarted(waitLimit))
        return QStringLiteral("the program did not start");
    const QString store =
        m_home.filePath(QStringLiteral("data/Quillstash/") + StoreFile::fileName());
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(store) && waited.elapsed() < 10000)
        QThread::msleep(20);
    if (!QFile::exists(store))
        return QStringLiteral("the program wrote no store file");
    // One poll of the watcher, so that the start-up content is dealt with.
    QThread::msleep(400);
    return QString();
}

std::optional<QByteArray> PasteSession::nextLine(QProcess &process, QByteArray &buffer,
                                                 QByteArray *record, int timeout)
{
    QElapsedTimer waited;
    waited.start();
    while (true) {
        const qsizetype end = buffer.indexOf('\n');
        if (end >= 0) {
            const QByteArray line = buffer.left(end);
            buffer.remove(0, end + 1);
            return line;
        }
        const int left = timeout - int(waited.elapsed());
        if (left <= 0 || process.state() == QProcess::NotRunning)
            return std::nullopt;
        if (process.waitForReadyRead(left)) {
            const QByteArray more = process.readAll();
            buffer += more;
            if (record)
                *record += more;
        }
    }
}

double PasteSession::pressHotKey()
{
    const double before = now();
    run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("ctrl+alt+v")});
    return before;
}

std::optional<double> PasteSession::waitForTrace(const QString &event, int timeout)
{
    QElapsedTimer waited;
    waited.start();
    const QByteArray suffix = ' ' + event.toUtf8();
    while (std::optional<QByteArray> line =
               nextLine(m_program, m_programBuffer, &m_programErrors,
                        std::max(timeout - int(waited.elapsed()), 0))) {
        // "quillstash-trace <ms> <event>"
        const QList<QByteArray> parts = line->split(' ');
        if (parts.size() >= 3 && parts[0] == "quillstash-trace" && line->endsWith(suffix))
            return parts[1].toDouble();
    }
    return std::nullopt;
}

double PasteSession::typeIntoBoard(const QString &key)
{
    const double before = now();
    tellProgram(QStringLiteral("key ") + key);
    return before;
}

void PasteSession::tellProgram(const QString &command)
{
    m_program.write((command + u'\n').toUtf8());
    m_program.waitForBytesWritten(waitLimit);
}

std::optional<double> PasteSession::waitForTargetText(const QString &text)
{
    const QByteArray wanted = text.toUtf8();
    while (std::optional<QByteArray> line =
               nextLine(m_target, m_targetBuffer, nullptr, waitLimit)) {
        // "text <ms> <text>"
        const qsizetype space = line->indexOf(' ', 5);
        if (line->startsWith("text ") && space > 0 && line->mid(space + 1) == wanted)
            return line->mid(5, space - 5).toDouble();
    }
    return std::nullopt;
}

bool PasteSession::copyElsewhere(const QString &text)
{
    // xclip forks a child that serves the clipboard and exits once its input is read.
    QProcess xclip;
    xclip.start(QStringLiteral("xclip"),
                {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-i")});
    if (!xclip.waitForStarted(waitLimit))
        return false;
    xclip.write(text.toUtf8());
    xclip.closeWriteChannel();
    return xclip.waitForFinished(waitLimit) && xclip.exitCode() == 0;
}

bool PasteSession::waitForCapture(const QString &text)
{
    const QString store =
        m_home.filePath(QStringLiteral("data/Quillstash/") + StoreFile::fileName());
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < waitLimit) {
        QFile file(store);
        if (file.open(QIODevice::ReadOnly)) {
            const std::optional<PersistedStore> stored = ClippingJson::decodeStore(file.readAll());
            if (stored && !stored->items.isEmpty() && stored->items.first().textContent == text)
                return true;
        }
        QThread::msleep(50);
    }
    return false;
}

bool PasteSession::resetTarget()
{
    if (!run(QStringLiteral("xdotool"),
             {QStringLiteral("windowactivate"), QStringLiteral("--sync"), m_targetWindow}))
        return false;
    // Select all and delete, as a user would.
    return run(QStringLiteral("xdotool"),
               {QStringLiteral("key"), QStringLiteral("--clearmodifiers"), QStringLiteral("ctrl+a"),
                QStringLiteral("BackSpace")});
}
