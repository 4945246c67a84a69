// The real program's start on a private X server with a history of 10,000 clippings: from
// starting it to the board's first frame, its memory once up, and the screenshot export from
// start to exit.
#include "pastesession.h"
#include "privatedisplay.h"
#include "residentmemory.h"
#include "store/storefile.h"
#include "storefixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <benchmark/benchmark.h>
#include <memory>

namespace
{

// The user's folders with the history already stored, as after a long use.
class ProgramHome
{
public:
    ProgramHome()
    {
        const QString data = m_home.filePath(QStringLiteral("data/Quillstash"));
        QDir().mkpath(data);
        const BenchmarkHistory history = makeBenchmarkHistory();
        StoreFile(data).write(history.items, history.collections);
        m_storeBytes = QFile(QDir(data).filePath(StoreFile::fileName())).size();
        QDir().mkpath(runtimeFolder());
        QFile::setPermissions(runtimeFolder(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        // A desktop session has its bus; without one, Qt's tray icon would start a bus of its own
        // through X11 on every launch.
        m_bus.start(QStringLiteral("dbus-daemon"),
                    {QStringLiteral("--session"), QStringLiteral("--nofork"),
                     QStringLiteral("--print-address=1")});
        if (m_bus.waitForStarted(5000) && m_bus.waitForReadyRead(5000))
            m_busAddress = QString::fromUtf8(m_bus.readLine().trimmed());
    }
    ~ProgramHome()
    {
        m_bus.terminate();
        m_bus.waitForFinished(5000);
    }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"),
                           m_home.filePath(QStringLiteral("data")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           m_home.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeFolder());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.insert(QStringLiteral("QUILLSTASH_TEST_TRACE"), QStringLiteral("1"));
        if (!m_busAddress.isEmpty())
            environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_busAddress);
        return environment;
    }
    QString screenshotFolder() const { return m_home.filePath(QStringLiteral("screenshots")); }
    qint64 storeBytes() const { return m_storeBytes; }

private:
    QString runtimeFolder() const { return m_home.filePath(QStringLiteral("runtime")); }

    QTemporaryDir m_home;
    qint64 m_storeBytes = 0;
    QProcess m_bus;
    QString m_busAddress;
};

std::unique_ptr<ProgramHome> home;

// The time of the program's first trace line for this event.
std::optional<double> waitForTrace(QProcess &program, const QByteArray &event, int timeout)
{
    QByteArray output;
    const double until = PasteSession::now() + timeout;
    while (PasteSession::now() < until && program.state() != QProcess::NotRunning) {
        program.waitForReadyRead(50);
        output += program.readAllStandardError();
        qsizetype end;
        while ((end = output.indexOf('\n')) >= 0) {
            const QList<QByteArray> fields = output.left(end).split(' ');
            output.remove(0, end + 1);
            if (fields.size() >= 3 && fields[0] == "quillstash-trace" && fields[2] == event)
                return fields[1].toDouble();
        }
    }
    return std::nullopt;
}

void stop(QProcess &program)
{
    program.terminate();
    if (!program.waitForFinished(10000))
        program.kill();
    program.waitForFinished(1000);
}

void BM_StartToFirstFrame(benchmark::State &state)
{
    long resident = 0;
    for (auto _ : state) {
        QProcess program;
        program.setProcessEnvironment(home->environment());
        const double started = PasteSession::now();
        program.start(QStringLiteral(QUILLSTASH_PROGRAM), {});
        const std::optional<double> painted = waitForTrace(program, "board-painted", 10000);
        if (!painted) {
            state.SkipWithError("the board was not drawn");
            stop(program);
            return;
        }
        state.SetIterationTime((*painted - started) / 1000.0);
        // What the program holds once the start is over.
        QThread::msleep(500);
        resident = residentKilobytes(QString::number(program.processId()));
        stop(program);
    }
    state.counters["rss_MB"] = double(resident) / 1024.0;
    state.counters["store_MB"] = double(home->storeBytes()) / 1e6;
}
BENCHMARK(BM_StartToFirstFrame)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

void BM_ExportScreenshots(benchmark::State &state)
{
    for (auto _ : state) {
        QProcess program;
        program.setProcessEnvironment(home->environment());
        const double started = PasteSession::now();
        program.start(QStringLiteral(QUILLSTASH_PROGRAM),
                      {QStringLiteral("--export-screenshots"), home->screenshotFolder()});
        if (!program.waitForFinished(30000) || program.exitCode() != 0) {
            state.SkipWithError("the export did not finish");
            stop(program);
            return;
        }
        state.SetIterationTime((PasteSession::now() - started) / 1000.0);
    }
}
BENCHMARK(BM_ExportScreenshots)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    return runOnPrivateDisplay(
        argc, argv,
        [] {
            home = std::make_unique<ProgramHome>();
            return QString();
        },
        [] { home.reset(); });
}
