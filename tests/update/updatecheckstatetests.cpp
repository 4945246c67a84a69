#include "statefixture.h"
#include "statusprinting.h"
#include "store/vendoraddress.h"
#include "update/updateprotocol.h"
#include "update/upgradecommand.h"

#include <QSignalSpy>

namespace
{

class UpdateCheckStateTest : public StateFixture
{
protected:
    void SetUp() override
    {
        qputenv(VendorAddress::environmentVariable, "https://updates.example.org");
        makeState();
    }
    void TearDown() override { qunsetenv(VendorAddress::environmentVariable); }

    static QByteArray record(const char *version, int build)
    {
        return QStringLiteral(R"({"version":"%1","build":%2})")
            .arg(QString::fromLatin1(version))
            .arg(build)
            .toUtf8();
    }
};

TEST_F(UpdateCheckStateTest, StartsIdleAndShowsCheckingUntilTheAnswer)
{
    EXPECT_EQ(state().updateCheckStatus(), UpdateCheckStatus(UpdateCheckStatus::Idle{}));
    QSignalSpy spy(&state(), &ClipboardManagerState::updateCheckStatusChanged);
    state().performUpdateCheck();
    EXPECT_EQ(state().updateCheckStatus(), UpdateCheckStatus(UpdateCheckStatus::Checking{}));
    ASSERT_EQ(m_httpClient.requestCount(), 1);
    const QUrl url = m_httpClient.request(0).url;
    EXPECT_EQ(url.host(), QStringLiteral("updates.example.org"));
    EXPECT_EQ(url.path(), QStringLiteral("/version.json"));
    EXPECT_EQ(url.query(),
              QStringLiteral("t=%1").arg(m_clock.now().toDateTime().toSecsSinceEpoch()));

    m_httpClient.respond(0, 200, record("99.0", 1));
    const UpdateCheckStatus status = state().updateCheckStatus();
    const auto *available = status.as<UpdateCheckStatus::UpdateAvailable>();
    ASSERT_TRUE(available);
    EXPECT_EQ(available->info.version, QStringLiteral("99.0"));
    EXPECT_EQ(spy.count(), 2);
}

TEST_F(UpdateCheckStateTest, TheLaterCompletionDecides)
{
    state().performUpdateCheck();
    m_httpClient.respond(0, 200, record("0.1", 1));
    ASSERT_TRUE(state().updateCheckStatus().is<UpdateCheckStatus::UpToDate>());

    // Two checks in flight: the second starts checking again; whichever ends last is shown.
    state().performUpdateCheck();
    state().performUpdateCheck();
    EXPECT_TRUE(state().updateCheckStatus().is<UpdateCheckStatus::Checking>());
    ASSERT_EQ(m_httpClient.requestCount(), 3);
    m_httpClient.respond(2, 200, record("99.0", 1));
    EXPECT_TRUE(state().updateCheckStatus().is<UpdateCheckStatus::UpdateAvailable>());
    m_httpClient.respond(1, 404, {});
    EXPECT_EQ(state().updateCheckStatus(),
              UpdateCheckStatus(UpdateCheckStatus::Failed{UpdateProtocol::httpStatusMessage(404)}));
}

TEST_F(UpdateCheckStateTest, AnAddressThatIsNotSafeFailsWithoutARequest)
{
    qputenv(VendorAddress::environmentVariable, "http://updates.example.org");
    state().performUpdateCheck();
    EXPECT_EQ(state().updateCheckStatus(),
              UpdateCheckStatus(UpdateCheckStatus::Failed{UpdateProtocol::invalidURLMessage()}));
    EXPECT_EQ(m_httpClient.requestCount(), 0);
}

TEST_F(UpdateCheckStateTest, ChecksStillRunningAreAbortedWithTheState)
{
    state().performUpdateCheck();
    state().performUpdateCheck();
    m_httpClient.respond(0, 200, record("1", 1));
    m_state.reset();
    EXPECT_FALSE(m_httpClient.isAborted(0));
    EXPECT_TRUE(m_httpClient.isAborted(1));
    // Nothing is delivered to the state that is gone.
    m_httpClient.respond(1, 200, record("1", 1));
}

TEST_F(UpdateCheckStateTest, CopyingTheUpgradeCommandTwiceKeepsTheFlagAndCapturesNothing)
{
    const QList<ClippingItem> before = state().items();
    state().copyBrewUpgradeToPasteboard();
    state().copyBrewUpgradeToPasteboard();
    EXPECT_TRUE(state().copiedBrewUpgradeCommand());
    EXPECT_EQ(m_pasteboard.content().string, UpgradeCommand::text());
    state().checkPasteboard();
    EXPECT_EQ(state().items(), before);

    // Only the next check turns the label back.
    state().setUpdateCheckStatus(UpdateCheckStatus::Idle{});
    EXPECT_TRUE(state().copiedBrewUpgradeCommand());
    state().performUpdateCheck();
    EXPECT_FALSE(state().copiedBrewUpgradeCommand());
}

TEST_F(UpdateCheckStateTest, DownloadOpensTheRecordsAddressElseTheVendors)
{
    state().openUpdateDownload();
    EXPECT_TRUE(m_workspace.opened().isEmpty());

    state().setUpdateCheckStatus(UpdateCheckStatus::UpdateAvailable{{QStringLiteral("3"), 3}});
    state().openUpdateDownload();
    state().setUpdateCheckStatus(UpdateCheckStatus::UpdateAvailable{
        {QStringLiteral("3"), 3, QStringLiteral("https://mirror.example.org/q.deb")}});
    state().openUpdateDownload();
    state().setUpdateCheckStatus(
        UpdateCheckStatus::UpdateAvailable{{QStringLiteral("3"), 3, QStringLiteral("file:///x")}});
    state().openUpdateDownload();
    EXPECT_EQ(m_workspace.opened(),
              (QList<QUrl>{QUrl("https://updates.example.org/download/Quillstash.dmg"),
                           QUrl("https://mirror.example.org/q.deb")}));
}

} // namespace
