#include "loopbackserver.h"
#include "statefixture.h"
#include "statusprinting.h"
#include "store/vendoraddress.h"
#include "update/networkhttpclient.h"
#include "update/programversion.h"
#include "update/updateprotocol.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>

namespace
{

using namespace std::chrono_literals;

const QByteArray current = R"({"version":"2.0.4","build":204})";
const QByteArray newer =
    R"({"version":"2.1.0","build":210,"downloadURL":null,"homebrewCommand":"brew upgrade"})";

// A valid record, padded with spaces to 1 MB, so only the size can fail it.
QByteArray megabyteRecord()
{
    QByteArray body = R"({"version":"9.0","build":900})";
    body.append(QByteArray(1024 * 1024 - body.size(), ' '));
    return body;
}

UpdateCheckStatus failed(const QString &message)
{
    return UpdateCheckStatus::Failed{message};
}

class LoopbackUpdateTest : public StateFixture
{
protected:
    void SetUp() override
    {
        ASSERT_NE(m_server.port(), 0);
        useVendor("http://127.0.0.1:" + QByteArray::number(m_server.port()));
        m_network.setTransferTimeout(300ms);
        makeState(&m_network);
    }
    void TearDown() override { qunsetenv(VendorAddress::environmentVariable); }

    static void useVendor(const QByteArray &address)
    {
        qputenv(VendorAddress::environmentVariable, address);
    }

    UpdateCheckStatus check()
    {
        state().performUpdateCheck();
        EXPECT_TRUE(state().updateCheckStatus().is<UpdateCheckStatus::Checking>());
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return !state().updateCheckStatus().is<UpdateCheckStatus::Checking>(); }, 5000));
        return state().updateCheckStatus();
    }

    void expectWellFormedRequest(const QByteArray &request)
    {
        const qint64 now = m_clock.now().toDateTime().toSecsSinceEpoch();
        EXPECT_EQ(requestLine(request),
                  "GET /version.json?t=" + QByteArray::number(now) + " HTTP/1.1");
        EXPECT_EQ(headerValue(request, "User-Agent"),
                  "Quillstash/" + ProgramVersion::text().toUtf8());
        EXPECT_EQ(headerValue(request, "Cache-Control"), "no-cache");
        EXPECT_EQ(headerValue(request, "Host"), "127.0.0.1:" + QByteArray::number(m_server.port()));
    }

    LoopbackServer m_server;
    NetworkHttpClient m_network;
};

struct ServerCase {
    const char *name;
    QByteArray reply;
    UpdateCheckStatus expected;
};

class LoopbackAnswers : public LoopbackUpdateTest, public testing::WithParamInterface<ServerCase>
{
};

TEST_P(LoopbackAnswers, ShowTheRightOutcome)
{
    m_server.setReply(GetParam().reply);
    EXPECT_EQ(check(), GetParam().expected);
    ASSERT_EQ(m_server.received().size(), 1);
    expectWellFormedRequest(m_server.received().first());
}

const QString unreachable = UpdateProtocol::unreachableMessage();

INSTANTIATE_TEST_SUITE_P(
    Table, LoopbackAnswers,
    testing::Values(
        ServerCase{"Current", LoopbackServer::reply(200, current),
                   UpdateCheckStatus::UpToDate{ProgramVersion::text(), ProgramVersion::build()}},
        ServerCase{"Newer", LoopbackServer::reply(200, newer, {"Content-Type: application/json"}),
                   UpdateCheckStatus::UpdateAvailable{{QStringLiteral("2.1.0"), 210, std::nullopt,
                                                       QStringLiteral("brew upgrade")}}},
        ServerCase{"NotFound", LoopbackServer::reply(404, "<h1>Not Found</h1>"),
                   failed(UpdateProtocol::httpStatusMessage(404))},
        ServerCase{"ServerError", LoopbackServer::reply(500, newer),
                   failed(UpdateProtocol::httpStatusMessage(500))},
        ServerCase{"Garbage", LoopbackServer::reply(200, "\x89PNG\r\n\x1a\n\0\0garbage"),
                   failed(unreachable)},
        ServerCase{"VersionWithoutBuild", LoopbackServer::reply(200, R"({"version":"3.0"})"),
                   failed(unreachable)},
        ServerCase{"EmptyBody", LoopbackServer::reply(200, ""), failed(unreachable)},
        ServerCase{"Megabyte", LoopbackServer::reply(200, megabyteRecord()), failed(unreachable)},
        ServerCase{"MegabyteWithoutLength", LoopbackServer::reply(200, megabyteRecord(), {}, false),
                   failed(unreachable)},
        ServerCase{"CutShort",
                   "HTTP/1.1 200 OK\r\nContent-Length: 500\r\nConnection: close\r\n\r\n{\"ver",
                   failed(unreachable)},
        ServerCase{"NeverAnswers", QByteArray(), failed(unreachable)}),
    [](const testing::TestParamInfo<ServerCase> &info) { return info.param.name; });

TEST_F(LoopbackUpdateTest, DoesNotFollowARedirectToHttp)
{
    const QByteArray target =
        "http://127.0.0.1:" + QByteArray::number(m_server.port()) + "/elsewhere.json";
    m_server.setReply(LoopbackServer::reply(302, "", {"Location: " + target}));
    EXPECT_EQ(check(), failed(unreachable));
    EXPECT_EQ(m_server.received().size(), 1);
}

TEST_F(LoopbackUpdateTest, FollowsARedirectToHttps)
{
    // The second hop speaks TLS to a plain server, which fails, but it must be tried.
    const QByteArray target =
        "https://127.0.0.1:" + QByteArray::number(m_server.port()) + "/version.json";
    m_server.setReply(LoopbackServer::reply(301, "", {"Location: " + target}));
    EXPECT_EQ(check(), failed(unreachable));
    ASSERT_EQ(m_server.received().size(), 2);
    expectWellFormedRequest(m_server.received().first());
    // A TLS handshake record.
    EXPECT_TRUE(m_server.received().at(1).startsWith("\x16\x03"));
}

TEST_F(LoopbackUpdateTest, ARefusedConnectionFails)
{
    quint16 closedPort = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
        closedPort = probe.serverPort();
    }
    useVendor("http://127.0.0.1:" + QByteArray::number(closedPort));
    EXPECT_EQ(check(), failed(unreachable));
}

TEST_F(LoopbackUpdateTest, ATrickleEndsAtTheDeadline)
{
    m_server.setReply(LoopbackServer::reply(200, current + QByteArray(2000, ' ')));
    m_server.setTrickle(20ms);
    m_network.setDeadline(1s);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(check(), failed(unreachable));
    EXPECT_LT(clock.elapsed(), 2000);
}

TEST_F(LoopbackUpdateTest, ARequestStillRunningIsAbortedWithTheState)
{
    m_server.setReply({});
    m_network.setTransferTimeout(10s);
    state().performUpdateCheck();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_server.received().isEmpty(); }, 5000));
    m_state.reset();
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_server.closedByClient() == 1; }, 5000));
}

TEST_F(LoopbackUpdateTest, KeepsTheRequestItSentForReading)
{
    m_server.setReply(LoopbackServer::reply(200, current));
    check();
    ASSERT_EQ(m_server.received().size(), 1);
    QFile file(QStringLiteral(QUILLSTASH_TEST_OUTPUT_DIR "/received-request.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(m_server.received().first());
}

} // namespace
