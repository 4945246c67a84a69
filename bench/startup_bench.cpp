// The real program on a private X server with a history of 10,000 clippings: from starting it
// to the board's first frame; the first show and the first search after a start in the
// background, and the same once warm; its memory after start, after the board was shown and
// scrolled end to end and after 20 captures; and the screenshot export from start to exit.
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
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>
#include <vector>

namespace
{

// The user's folders with the history already stored, as after a long use.
class ProgramHome
{
public:
    explicit ProgramHome(const BenchmarkHistory &history)
    {
        const QString data = m_home.filePath(QStringLiteral("data/Quillstash"));
        QDir().mkpath(data);
        StoreFile(data).write(history.items, history.collections);
        m_storeBytes = QFile(QDir(data).filePath(StoreFile::fileName())).size();
        QDir().mkpath(runtimeFolder());
        QFile::setPermissions(runtimeFolder(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        // A desktop session has its bus; without one, Qt's tray icon would start a bus of its own
        // through X11 on every launch. It starts no services: a keyring started on demand opens
        // its prompt to make a login keyring, which takes the keyboard from the board.
        QFile config(m_home.filePath(QStringLiteral("session-bus.conf")));
        if (config.open(QIODevice::WriteOnly))
            config.write("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration "
                         "1.0//EN\" \"http://www.freedesktop.org/standards/dbus/1.0/"
                         "busconfig.dtd\">\n<busconfig><type>session</type>"
                         "<listen>unix:tmpdir=/tmp</listen><policy context=\"default\">"
                         "<allow send_destination=\"*\" eavesdrop=\"true\"/>"
                         "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n");
        config.close();
        m_bus.start(QStringLiteral("dbus-daemon"),
                    {QStringLiteral("--config-file=") + config.fileName(),
                     QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
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

// 10,000 texts and 20 images, for the start.
std::unique_ptr<ProgramHome> foundationHome;
// 10,000 texts, for the first use, the warm figures and the memory.
std::unique_ptr<ProgramHome> textHome;

// The program, ended when this goes, and the trace lines it prints.
class Launch
{
public:
    Launch(const ProgramHome &home, const QStringList &arguments)
    {
        // Another build of the program, to compare with this one.
        const QString other = qEnvironmentVariable("QUILLSTASH_BENCH_PROGRAM");
        m_program.setProcessEnvironment(home.environment());
        m_program.setReadChannel(QProcess::StandardError);
        started = PasteSession::now();
        m_program.start(other.isEmpty() ? QStringLiteral(QUILLSTASH_PROGRAM) : other, arguments);
    }
    ~Launch()
    {
        m_program.terminate();
        if (!m_program.waitForFinished(10000))
            m_program.kill();
        m_program.waitForFinished(1000);
    }
    Launch(const Launch &) = delete;
    Launch &operator=(const Launch &) = delete;

    // The time of the program's next trace line for this event.
    std::optional<double> waitForTrace(const QByteArray &event, int timeout = 10000)
    {
        const double until = PasteSession::now() + timeout;
        while (true) {
            qsizetype end;
            while ((end = m_output.indexOf('\n')) >= 0) {
                const QList<QByteArray> fields = m_output.left(end).split(' ');
                const QByteArray line = m_output.left(end);
                m_output.remove(0, end + 1);
                if (fields.size() >= 3 && fields[0] == "quillstash-trace" &&
                    line.endsWith(' ' + event))
                    return fields[1].toDouble();
            }
            if (PasteSession::now() >= until || m_program.state() == QProcess::NotRunning)
                return std::nullopt;
            m_program.waitForReadyRead(20);
            m_output += m_program.readAllStandardError();
        }
    }

    QString processID() const { return QString::number(m_program.processId()); }

    double started = 0;

private:
    QProcess m_program;
    QByteArray m_output;
};

// Keys typed through XTest on the benchmark's own connection, as a keyboard sends them. The
// time is taken as the chord's last key goes down, which is when the user pressed it: xdotool's
// start and the 12 ms it waits between the keys of a chord are not the program's.
class Keyboard
{
public:
    Keyboard() : m_display(XOpenDisplay(nullptr)) {}
    ~Keyboard()
    {
        if (m_display)
            XCloseDisplay(m_display);
    }
    Keyboard(const Keyboard &) = delete;
    Keyboard &operator=(const Keyboard &) = delete;

    // A chord such as "ctrl+alt+v"; the time its last key went down.
    double press(const QString &chord)
    {
        std::vector<KeyCode> keys;
        for (const QString &name : chord.split(u'+'))
            keys.push_back(
                XKeysymToKeycode(m_display, XStringToKeysym(keysymName(name).constData())));
        for (auto key = keys.begin(); key + 1 != keys.end(); ++key)
            XTestFakeKeyEvent(m_display, *key, True, CurrentTime);
        XSync(m_display, False);
        const double pressed = PasteSession::now();
        XTestFakeKeyEvent(m_display, keys.back(), True, CurrentTime);
        XFlush(m_display);
        for (auto key = keys.rbegin(); key != keys.rend(); ++key)
            XTestFakeKeyEvent(m_display, *key, False, CurrentTime);
        XSync(m_display, False);
        return pressed;
    }

private:
    static QByteArray keysymName(const QString &name)
    {
        if (name == u"ctrl")
            return "Control_L";
        if (name == u"alt")
            return "Alt_L";
        return name.toLatin1();
    }

    Display *m_display;
};

std::unique_ptr<Keyboard> keyboard;

double press(const QString &chord)
{
    return keyboard->press(chord);
}

// Keys through xdotool, for what is typed but not timed.
void typeWithXdotool(const QStringList &arguments)
{
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), QStringList{QStringLiteral("key")} + arguments);
    xdotool.waitForFinished(30000);
}

const QString hotKey = QStringLiteral("ctrl+alt+v");
// A character many clippings hold, so that the search and the cards drawn after it are many.
const QString searchKey = QStringLiteral("m");

// Started in the background, as after a login, and left to settle as a user would before
// the first use.
std::unique_ptr<Launch> startInBackground(benchmark::State &state)
{
    auto program = std::make_unique<Launch>(*textHome, QStringList{QStringLiteral("--background")});
    if (!program->waitForTrace("started")) {
        state.SkipWithError("the program did not start");
        return nullptr;
    }
    QThread::msleep(1500);
    return program;
}

// The median of a warm run's times, which a busy machine spreads far more than the mean shows.
void reportMedian(benchmark::State &state, std::vector<double> times)
{
    if (times.empty())
        return;
    std::nth_element(times.begin(), times.begin() + ptrdiff_t(times.size() / 2), times.end());
    state.counters["median_ms"] = times[times.size() / 2];
}

// Each step's time, or an error for the benchmark.
bool measure(benchmark::State &state, double since, std::optional<double> until,
             std::vector<double> *times = nullptr)
{
    if (!until) {
        state.SkipWithError("the program did not draw it");
        return false;
    }
    state.SetIterationTime((*until - since) / 1000.0);
    if (times)
        times->push_back(*until - since);
    return true;
}

void BM_StartToFirstFrame(benchmark::State &state)
{
    long resident = 0;
    for (auto _ : state) {
        Launch program(*foundationHome, {});
        if (!measure(state, program.started, program.waitForTrace("board-painted")))
            return;
        // What the program holds once the start is over.
        QThread::msleep(500);
        resident = residentKilobytes(program.processID());
    }
    state.counters["rss_MB"] = double(resident) / 1024.0;
    state.counters["store_MB"] = double(foundationHome->storeBytes()) / 1e6;
}
BENCHMARK(BM_StartToFirstFrame)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

void BM_FirstShowAfterStart(benchmark::State &state)
{
    for (auto _ : state) {
        const std::unique_ptr<Launch> program = startInBackground(state);
        if (!program)
            return;
        const double pressed = press(hotKey);
        if (!measure(state, pressed, program->waitForTrace("board-painted")))
            return;
    }
    state.counters["store_MB"] = double(textHome->storeBytes()) / 1e6;
}
BENCHMARK(BM_FirstShowAfterStart)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

void BM_FirstKeystrokeAfterStart(benchmark::State &state)
{
    for (auto _ : state) {
        const std::unique_ptr<Launch> program = startInBackground(state);
        if (!program)
            return;
        press(hotKey);
        if (!program->waitForTrace("board-painted")) {
            state.SkipWithError("the board was not drawn");
            return;
        }
        QThread::msleep(300);
        const double typed = press(searchKey);
        if (!measure(state, typed, program->waitForTrace("results-drawn")))
            return;
    }
}
BENCHMARK(BM_FirstKeystrokeAfterStart)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

void BM_WarmHotKeyToFirstFrame(benchmark::State &state)
{
    const std::unique_ptr<Launch> program = startInBackground(state);
    if (!program)
        return;
    // Once, so that every show measured is a later one.
    press(hotKey);
    program->waitForTrace("board-painted");
    press(QStringLiteral("Escape"));
    program->waitForTrace("board-hidden");
    std::vector<double> times;
    for (auto _ : state) {
        QThread::msleep(200);
        const double pressed = press(hotKey);
        if (!measure(state, pressed, program->waitForTrace("board-painted"), &times))
            return;
        press(QStringLiteral("Escape"));
        program->waitForTrace("board-hidden");
    }
    reportMedian(state, times);
}
BENCHMARK(BM_WarmHotKeyToFirstFrame)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(15)
    ->Repetitions(1);

void BM_WarmKeystrokeToResults(benchmark::State &state)
{
    const std::unique_ptr<Launch> program = startInBackground(state);
    if (!program)
        return;
    press(hotKey);
    program->waitForTrace("board-painted");
    // Once, so that every search measured is a later one; Escape empties the field again.
    press(searchKey);
    program->waitForTrace("results-drawn");
    press(QStringLiteral("Escape"));
    program->waitForTrace("results-drawn");
    std::vector<double> times;
    for (auto _ : state) {
        QThread::msleep(200);
        const double typed = press(searchKey);
        if (!measure(state, typed, program->waitForTrace("results-drawn"), &times))
            return;
        press(QStringLiteral("Escape"));
        program->waitForTrace("results-drawn");
    }
    reportMedian(state, times);
}
BENCHMARK(BM_WarmKeystrokeToResults)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(15)
    ->Repetitions(1);

// Memory in MB after each stage of a use, as counters and as a line of its own.
void BM_MemoryOverUse(benchmark::State &state)
{
    for (auto _ : state) {
        const std::unique_ptr<Launch> program = startInBackground(state);
        if (!program)
            return;
        const auto record = [&](const std::string &stage) {
            QThread::msleep(1000);
            const double pss = double(proportionalKilobytes(program->processID())) / 1024.0;
            const double rss = double(residentKilobytes(program->processID())) / 1024.0;
            const double anonymous = double(anonymousKilobytes(program->processID())) / 1024.0;
            state.counters["pss_" + stage + "_MB"] = pss;
            state.counters["rss_" + stage + "_MB"] = rss;
            state.counters["anon_" + stage + "_MB"] = anonymous;
            std::printf("%-10s PSS %6.1f MB  RSS %6.1f MB  anonymous %6.1f MB\n", stage.c_str(),
                        pss, rss, anonymous);
        };
        record("start");

        press(hotKey);
        if (!program->waitForTrace("board-painted")) {
            state.SkipWithError("the board was not drawn");
            return;
        }
        // A row at a time, from the newest clipping to the oldest.
        typeWithXdotool({QStringLiteral("--delay"), QStringLiteral("1"), QStringLiteral("--repeat"),
                         QStringLiteral("3400"), QStringLiteral("Down")});
        record("board");

        press(QStringLiteral("Escape"));
        program->waitForTrace("board-hidden");
        for (int round = 0; round < 20; ++round) {
            if (!PasteSession::copyElsewhere(
                    QStringLiteral("capture %1 of the memory benchmark").arg(round)) ||
                !program->waitForTrace("newest-clipping")) {
                state.SkipWithError("a copy was not captured");
                return;
            }
        }
        record("captures");
    }
    state.counters["store_MB"] = double(textHome->storeBytes()) / 1e6;
}
BENCHMARK(BM_MemoryOverUse)->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(1);

void BM_ExportScreenshots(benchmark::State &state)
{
    for (auto _ : state) {
        QProcess program;
        program.setProcessEnvironment(foundationHome->environment());
        const double started = PasteSession::now();
        program.start(QStringLiteral(QUILLSTASH_PROGRAM),
                      {QStringLiteral("--export-screenshots"), foundationHome->screenshotFolder()});
        if (!program.waitForFinished(30000) || program.exitCode() != 0) {
            state.SkipWithError("the export did not finish");
            program.kill();
            program.waitForFinished(1000);
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
            foundationHome = std::make_unique<ProgramHome>(makeBenchmarkHistory());
            textHome = std::make_unique<ProgramHome>(makeBenchmarkHistory(10000, 0));
            keyboard = std::make_unique<Keyboard>();
            return QString();
        },
        [] {
            keyboard.reset();
            foundationHome.reset();
            textHome.reset();
        });
}
