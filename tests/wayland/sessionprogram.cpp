#include "sessionprogram.h"

#include "compositorsession.h"
#include "model/clippingjson.h"
#include "store/inisettingsstore.h"

#include <QDir>
#include <QFile>
#include <QTest>

SessionProgram::SessionProgram(const CompositorSession &session, const QString &name,
                               bool waylandServices)
    : m_session(session), m_profile(session.home() + QStringLiteral("/") + name),
      m_waylandServices(waylandServices)
{
    QDir().mkpath(m_profile + QStringLiteral("/config/Quillstash"));
    QDir().mkpath(m_profile + QStringLiteral("/data"));
    IniSettingsStore(m_profile + QStringLiteral("/config/Quillstash/Quillstash.conf"))
        .setValue(QStringLiteral("Quillstash.autoPasteDirect"), true);
    for (const QString &path :
         {m_profile, m_profile + QStringLiteral("/config"), m_profile + QStringLiteral("/data"),
          m_profile + QStringLiteral("/config/Quillstash"),
          m_profile + QStringLiteral("/config/Quillstash/Quillstash.conf")})
        m_session.handOver(path);
}

SessionProgram::~SessionProgram()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(3000))
            m_process.kill();
        m_process.waitForFinished(1000);
    }
}

QProcessEnvironment SessionProgram::environment() const
{
    QProcessEnvironment environment = m_session.environment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), m_profile + QStringLiteral("/data"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_profile + QStringLiteral("/config"));
    environment.insert(QStringLiteral("QUILLSTASH_TEST_TRACE"), QStringLiteral("1"));
    if (!m_waylandServices) {
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.insert(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("x11"));
    }
    return environment;
}

bool SessionProgram::start()
{
    m_session.startClient(m_process,
                          CompositorSession::runnable(QStringLiteral(QUILLSTASH_PROGRAM)),
                          {QStringLiteral("--background")}, environment());
    if (!m_process.waitForStarted(5000))
        return false;
    // Up once its store is on disk.
    const QString store = storePath();
    return QTest::qWaitFor([&] { return QFile::exists(store) || !isRunning(); }, 15000) &&
           isRunning();
}

bool SessionProgram::request(const QStringList &arguments) const
{
    QProcess second;
    m_session.startClient(second, CompositorSession::runnable(QStringLiteral(QUILLSTASH_PROGRAM)),
                          arguments, environment());
    return second.waitForFinished(10000) && second.exitCode() == 0;
}

QString SessionProgram::errors()
{
    m_errors += m_process.readAllStandardError();
    return QString::fromUtf8(m_errors);
}

bool SessionProgram::waitForTrace(const QString &event, int timeout)
{
    const QString wanted = QStringLiteral(" ") + event;
    return QTest::qWaitFor(
        [&] {
            const QStringList lines = errors().split(u'\n');
            for (const QString &line : lines) {
                if (line.startsWith(u"quillstash-trace ") && line.endsWith(wanted))
                    return true;
            }
            return false;
        },
        timeout);
}

void SessionProgram::typeIntoBoard(const QString &key)
{
    m_process.write(QStringLiteral("key %1\n").arg(key).toUtf8());
    m_process.waitForBytesWritten(1000);
}

QString SessionProgram::storePath() const
{
    return m_profile + QStringLiteral("/data/Quillstash/clippings_store_v1.json");
}

QList<ClippingItem> SessionProgram::items() const
{
    QFile file(storePath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return ClippingJson::decodeStore(file.readAll()).value_or(PersistedStore{}).items;
}

std::optional<ClippingItem> SessionProgram::newestOnceItIs(const QString &text, int timeout)
{
    return newestOnce([&](const ClippingItem &item) { return item.textContent == text; }, timeout);
}

namespace
{

qint64 statusField(qint64 pid, const QByteArray &field)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

} // namespace

qint64 SessionProgram::residentKb() const
{
    return statusField(m_process.processId(), "VmRSS");
}

qint64 SessionProgram::peakResidentKb() const
{
    return statusField(m_process.processId(), "VmHWM");
}
