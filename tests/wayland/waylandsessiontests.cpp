// The real program in headless Wayland sessions, driven from outside as the user's other
// programs would: wl-copy and wl-paste, a data-control owner of the test's own, a target
// window on Qt's Wayland plugin.
#include "compositorsession.h"
#include "sessionprogram.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace
{

using Compositor = CompositorSession::Compositor;

// A window of another program's, with the keyboard focus, on Qt's Wayland plugin or, with
// "xcb", on XWayland.
class TargetWindow
{
public:
    explicit TargetWindow(const CompositorSession &session,
                          const QString &platform = QStringLiteral("wayland"))
    {
        QProcessEnvironment environment = session.environment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
        session.startClient(m_process,
                            CompositorSession::runnable(QStringLiteral(PASTE_TARGET_PROGRAM)), {},
                            environment);
    }
    ~TargetWindow()
    {
        m_process.terminate();
        m_process.waitForFinished(3000);
    }
    bool waitUntilReady() { return waitForLine(QStringLiteral("ready ")).has_value(); }
    bool waitForText(const QString &text)
    {
        return waitForLine(QStringLiteral("text "), text).has_value();
    }

private:
    std::optional<QString> waitForLine(const QString &prefix, const QString &text = {})
    {
        std::optional<QString> found;
        (void)QTest::qWaitFor(
            [&] {
                m_output += m_process.readAllStandardOutput();
                for (const QByteArray &raw : m_output.split('\n')) {
                    const QString line = QString::fromUtf8(raw);
                    // "text <time> <text>"
                    if (line.startsWith(prefix) &&
                        (text.isEmpty() || line.section(u' ', 2) == text))
                        found = line;
                }
                return found.has_value();
            },
            5000);
        return found;
    }

    QProcess m_process;
    QByteArray m_output;
};

// Another program's copy made through data-control, as the helper makes it.
class DataOffer
{
public:
    DataOffer(const CompositorSession &session, const QStringList &arguments)
    {
        session.startClient(m_process,
                            CompositorSession::runnable(QStringLiteral(DATA_OFFER_PROGRAM)),
                            arguments, session.environment());
    }
    ~DataOffer()
    {
        m_process.terminate();
        m_process.waitForFinished(3000);
    }
    bool waitUntilReady()
    {
        return QTest::qWaitFor(
                   [&] {
                       m_output += m_process.readAllStandardOutput();
                       return m_output.contains("ready\n") ||
                              m_process.state() == QProcess::NotRunning;
                   },
                   5000) &&
               m_output.contains("ready\n");
    }

private:
    QProcess m_process;
    QByteArray m_output;
};

QByteArray pngBytes()
{
    QImage image(24, 16, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

bool wlCopy(const CompositorSession &session, const QStringList &arguments,
            const QByteArray &input = {})
{
    return session.run(QStringLiteral("wl-copy"), arguments, input).has_value();
}

// One compositor session for a whole suite: starting one takes seconds.
class WaylandSessionTest : public testing::Test
{
protected:
    static std::unique_ptr<CompositorSession> startSession(Compositor compositor, bool xwayland)
    {
        auto session = std::make_unique<CompositorSession>(compositor, xwayland);
        if (const QString error = session->start(); !error.isEmpty()) {
            ADD_FAILURE() << error.toStdString();
            return nullptr;
        }
        return session;
    }

    static void skipWithout(Compositor compositor, bool xwayland)
    {
        if (const QStringList missing = CompositorSession::missingPrograms(compositor, xwayland);
            !missing.isEmpty())
            GTEST_SKIP() << "not installed: " << missing.join(u", ").toStdString();
    }
};

class SwayTest : public WaylandSessionTest
{
protected:
    static void SetUpTestSuite()
    {
        if (CompositorSession::missingPrograms(Compositor::Sway, true).isEmpty())
            s_session = startSession(Compositor::Sway, true);
    }
    static void TearDownTestSuite() { s_session.reset(); }
    void SetUp() override
    {
        skipWithout(Compositor::Sway, true);
        ASSERT_TRUE(s_session);
        ++s_runs;
        m_program =
            std::make_unique<SessionProgram>(*s_session, QStringLiteral("profile-%1").arg(s_runs));
        ASSERT_TRUE(m_program->start()) << m_program->errors().toStdString();
    }

    CompositorSession &session() { return *s_session; }
    SessionProgram &program() { return *m_program; }

    static inline std::unique_ptr<CompositorSession> s_session;
    static inline int s_runs = 0;
    std::unique_ptr<SessionProgram> m_program;
};

TEST_F(SwayTest, SaysOnceWhichServicesItUses)
{
    const QString errors = program().errors();
    EXPECT_EQ(errors.count(QStringLiteral("Wayland services: clipboard through "
                                          "wlr-data-control-unstable-v1")),
              1)
        << errors.toStdString();
    EXPECT_TRUE(errors.contains(QStringLiteral("missing: none."))) << errors.toStdString();
}

struct CopyCase {
    const char *name;
    // wl-copy's arguments and input, or the data-control owner's offers.
    QStringList wlCopy;
    QByteArray input;
    QStringList offers;
    ClippingType type;
    QString text;
    bool sealed = false;
};

void PrintTo(const CopyCase &c, std::ostream *os)
{
    *os << c.name;
}

class SwayCopyTest : public SwayTest, public testing::WithParamInterface<CopyCase>
{
};

TEST_P(SwayCopyTest, EveryCopyIsCapturedAsWhatItIsWhileAWaylandWindowHasFocus)
{
    TargetWindow target(session());
    ASSERT_TRUE(target.waitUntilReady());
    const CopyCase &c = GetParam();
    std::optional<DataOffer> offer;
    if (c.offers.isEmpty()) {
        ASSERT_TRUE(wlCopy(session(), c.wlCopy, c.input));
    } else {
        offer.emplace(session(), c.offers);
        ASSERT_TRUE(offer->waitUntilReady());
    }
    const std::optional<ClippingItem> newest = program().newestOnce([&](const ClippingItem &item) {
        return item.type == c.type && item.isPassword == c.sealed &&
               (c.text.isEmpty() || item.textContent == c.text);
    });
    ASSERT_TRUE(newest) << program().errors().toStdString();
    EXPECT_EQ(newest->sourceAppName.toStdString(), "pastetarget");
    if (c.sealed) {
        EXPECT_TRUE(newest->textContent.isEmpty());
        EXPECT_TRUE(newest->encryptedPasswordData);
    }
    if (c.type == ClippingType::File) {
        EXPECT_EQ(newest->fileName.value_or(QString()).toStdString(), "Report.pdf");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, SwayCopyTest,
    testing::Values(CopyCase{.name = "text",
                             .wlCopy = {QStringLiteral("Copied in a Wayland program")},
                             .type = ClippingType::Text,
                             .text = QStringLiteral("Copied in a Wayland program")},
                    CopyCase{.name = "image",
                             .wlCopy = {QStringLiteral("--type"), QStringLiteral("image/png")},
                             .input = pngBytes(),
                             .type = ClippingType::Image},
                    CopyCase{.name = "fileList",
                             .wlCopy = {QStringLiteral("--type"), QStringLiteral("text/uri-list"),
                                        QStringLiteral("file:///home/someone/Report.pdf")},
                             .type = ClippingType::File},
                    CopyCase{.name = "passwordManagerHint",
                             .offers = {QStringLiteral("text/plain;charset=utf-8:wl-Secret-Pa55"),
                                        QStringLiteral("x-kde-passwordManagerHint:secret")},
                             .type = ClippingType::Text,
                             .sealed = true}),
    [](const auto &info) { return std::string(info.param.name); });

struct HostileCase {
    const char *name;
    QStringList offer;
    // Whether the offered text itself comes through.
    bool captured;
};

void PrintTo(const HostileCase &c, std::ostream *os)
{
    *os << c.name;
}

class SwayHostileOfferTest : public SwayTest, public testing::WithParamInterface<HostileCase>
{
};

TEST_P(SwayHostileOfferTest, LeavesTheProgramResponsiveInBoundedMemory)
{
    const qint64 before = program().residentKb();
    DataOffer offer(session(), GetParam().offer);
    ASSERT_TRUE(offer.waitUntilReady());
    if (GetParam().captured) {
        EXPECT_TRUE(program().newestOnceItIs(QStringLiteral("hostile")))
            << program().errors().toStdString();
    }
    const QString next = QStringLiteral("after %1").arg(QString::fromLatin1(GetParam().name));
    ASSERT_TRUE(wlCopy(session(), {next}));
    EXPECT_TRUE(program().newestOnceItIs(next, 8000)) << program().errors().toStdString();
    EXPECT_TRUE(program().isRunning());
    // A whole 50 MB read, or its text decoded, would be far more.
    EXPECT_LT(program().peakResidentKb() - before, 100 * 1024);
}

INSTANTIATE_TEST_SUITE_P(
    Offers, SwayHostileOfferTest,
    testing::Values(HostileCase{"pipeNeverDelivers",
                                {QStringLiteral("--stuck"), QStringLiteral("text/plain:hostile")},
                                false},
                    HostileCase{"fiftyMegabytes",
                                {QStringLiteral("--flood"), QStringLiteral("52428800"),
                                 QStringLiteral("text/plain:hostile")},
                                false},
                    HostileCase{"fiveHundredTypes",
                                {QStringLiteral("--types"), QStringLiteral("500"),
                                 QStringLiteral("text/plain;charset=utf-8:hostile")},
                                true}),
    [](const auto &info) { return std::string(info.param.name); });

// Copies A and B in the target, then picks A on the board: A is pasted into the target and
// stays on the clipboard for others, and the restore is not captured as a new clipping.
void restoreAndPaste(const CompositorSession &session, SessionProgram &program,
                     const QString &platform = QStringLiteral("wayland"))
{
    TargetWindow target(session, platform);
    ASSERT_TRUE(target.waitUntilReady());
    ASSERT_TRUE(wlCopy(session, {QStringLiteral("first Wayland copy")}));
    ASSERT_TRUE(program.newestOnceItIs(QStringLiteral("first Wayland copy")));
    ASSERT_TRUE(wlCopy(session, {QStringLiteral("second Wayland copy")}));
    ASSERT_TRUE(program.newestOnceItIs(QStringLiteral("second Wayland copy")));
    const qsizetype count = program.items().size();

    ASSERT_TRUE(program.request());
    ASSERT_TRUE(program.waitForTrace(QStringLiteral("board-shown")))
        << program.errors().toStdString();
    program.typeIntoBoard(QStringLiteral("Right"));
    program.typeIntoBoard(QStringLiteral("Return"));
    EXPECT_TRUE(target.waitForText(QStringLiteral("first Wayland copy")))
        << program.errors().toStdString();
    EXPECT_EQ(session.run(QStringLiteral("wl-paste"), {QStringLiteral("--no-newline")}),
              QByteArray("first Wayland copy"));
    QTest::qWait(800);
    EXPECT_EQ(program.items().size(), count);
    EXPECT_EQ(program.items().value(1).textContent.toStdString(), "first Wayland copy");
}

TEST_F(SwayTest, ReturnPastesIntoTheWaylandWindowThroughTheVirtualKeyboard)
{
    restoreAndPaste(session(), program());
}

TEST_F(SwayTest, ReturnPastesIntoAnXWaylandWindowThroughXTest)
{
    restoreAndPaste(session(), program(), QStringLiteral("xcb"));
}

// What a bound key runs: the first call maps the board, the second steps to the next card, and
// Return pastes that one into the Wayland window the board came up over.
TEST_F(SwayTest, ShowBoardMapsTheBoardStepsAndPastes)
{
    TargetWindow target(session());
    ASSERT_TRUE(target.waitUntilReady());
    ASSERT_TRUE(wlCopy(session(), {QStringLiteral("older copy")}));
    ASSERT_TRUE(program().newestOnceItIs(QStringLiteral("older copy")));
    ASSERT_TRUE(wlCopy(session(), {QStringLiteral("newer copy")}));
    ASSERT_TRUE(program().newestOnceItIs(QStringLiteral("newer copy")));

    const QString showBoard = QStringLiteral("--show-board");
    ASSERT_TRUE(program().request({showBoard}));
    ASSERT_TRUE(program().waitForTrace(QStringLiteral("board-shown")))
        << program().errors().toStdString();
    const QByteArray ownWindow = "\"pid\": " + QByteArray::number(program().processId()) + ',';
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return session()
                .run(QStringLiteral("swaymsg"), {QStringLiteral("-t"), QStringLiteral("get_tree")})
                .value_or(QByteArray())
                .contains(ownWindow);
        },
        3000));
    ASSERT_TRUE(program().request({showBoard}));
    QTest::qWait(300);
    program().typeIntoBoard(QStringLiteral("Return"));
    EXPECT_TRUE(target.waitForText(QStringLiteral("older copy")))
        << program().errors().toStdString();
}

class SwayWithoutXWaylandTest : public WaylandSessionTest
{
protected:
    void SetUp() override
    {
        skipWithout(Compositor::Sway, false);
        m_session = startSession(Compositor::Sway, false);
        ASSERT_TRUE(m_session);
        m_program = std::make_unique<SessionProgram>(*m_session, QStringLiteral("profile"));
        ASSERT_TRUE(m_program->start()) << m_program->errors().toStdString();
    }

    std::unique_ptr<CompositorSession> m_session;
    std::unique_ptr<SessionProgram> m_program;
};

TEST_F(SwayWithoutXWaylandTest, RunsOnQtsWaylandPluginAndPastesAllTheSame)
{
    EXPECT_EQ(m_program->errors().count(QStringLiteral("placed by the compositor")), 1)
        << m_program->errors().toStdString();
    restoreAndPaste(*m_session, *m_program);
}

// Weston offers none of the protocols. (Its headless XWayland bridge crashes on the first X11
// selection, so this session has no XWayland: the program runs on Qt's Wayland plugin.)
class WestonTest : public WaylandSessionTest
{
protected:
    void SetUp() override
    {
        skipWithout(Compositor::Weston, false);
        m_session = startSession(Compositor::Weston, false);
        ASSERT_TRUE(m_session);
        m_program = std::make_unique<SessionProgram>(*m_session, QStringLiteral("profile"));
        ASSERT_TRUE(m_program->start()) << m_program->errors().toStdString();
    }

    std::unique_ptr<CompositorSession> m_session;
    std::unique_ptr<SessionProgram> m_program;
};

TEST_F(WestonTest, SaysWhatIsMissingAndFallsBackToPressingCtrlV)
{
    const QString errors = m_program->errors();
    EXPECT_EQ(errors.count(QStringLiteral("missing: the clipboard of unfocused programs")), 1)
        << errors.toStdString();
    EXPECT_TRUE(errors.contains(QStringLiteral("paste into Wayland windows")))
        << errors.toStdString();

    ASSERT_TRUE(m_program->request());
    ASSERT_TRUE(m_program->waitForTrace(QStringLiteral("board-shown")));
    m_program->typeIntoBoard(QStringLiteral("Return"));
    EXPECT_TRUE(m_program->waitForTrace(QStringLiteral("toast Copied — press Ctrl+V to paste")))
        << m_program->errors().toStdString();
    QTest::qWait(300);
    EXPECT_TRUE(m_program->isRunning());
    EXPECT_FALSE(m_program->items().isEmpty());
}

} // namespace
