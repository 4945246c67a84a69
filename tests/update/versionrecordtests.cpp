#include "statusprinting.h"
#include "update/programversion.h"
#include "update/remoteversioninfo.h"
#include "update/updateprotocol.h"
#include "update/versioncomparison.h"

#include <gtest/gtest.h>

namespace
{

struct DecodeCase {
    const char *name;
    const char *json;
    std::optional<RemoteVersionInfo> expected;
};

RemoteVersionInfo record(const char *version, qint64 build,
                         std::optional<QString> downloadURL = std::nullopt,
                         std::optional<QString> homebrewCommand = std::nullopt)
{
    return {QString::fromUtf8(version), build, std::move(downloadURL), std::move(homebrewCommand)};
}

class RemoteVersionInfoDecoding : public testing::TestWithParam<DecodeCase>
{
};

TEST_P(RemoteVersionInfoDecoding, DecodesOnlyAWellFormedRecord)
{
    EXPECT_EQ(RemoteVersionInfo::decode(GetParam().json), GetParam().expected);
}

const QString site = QStringLiteral("https://example.org/q.deb");

INSTANTIATE_TEST_SUITE_P(
    Table, RemoteVersionInfoDecoding,
    testing::Values(
        DecodeCase{"Minimal", R"({"version":"2.1.0","build":210})", record("2.1.0", 210)},
        DecodeCase{"AllKeys",
                   R"({"version":"2.1","build":5,"downloadURL":"https://example.org/q.deb",)"
                   R"("homebrewCommand":"brew x","extra":[1,{"a":null}]})",
                   record("2.1", 5, site, QStringLiteral("brew x"))},
        DecodeCase{"NullOptionals",
                   R"({"version":"2","build":1,"downloadURL":null,"homebrewCommand":null})",
                   record("2", 1)},
        DecodeCase{"EmptyVersion", R"({"version":"","build":1})", std::nullopt},
        DecodeCase{"LongestVersion", R"({"version":"1234567890.1234567890.1234567890","build":1})",
                   record("1234567890.1234567890.1234567890", 1)},
        DecodeCase{"VersionTooLong", R"({"version":"1234567890.1234567890.12345678901","build":1})",
                   std::nullopt},
        DecodeCase{"VersionWithMarkup", R"({"version":"<img src=x>2","build":1})", std::nullopt},
        DecodeCase{"VersionWithLetters", R"({"version":"2.1 \u03b2","build":1})", std::nullopt},
        DecodeCase{"VersionWithEmptyPart", R"({"version":"2..1","build":1})", std::nullopt},
        DecodeCase{"IntegralDouble", R"({"version":"2","build":205.0})", record("2", 205)},
        DecodeCase{"Exponent", R"({"version":"2","build":2.05e2})", record("2", 205)},
        DecodeCase{"Negative", R"({"version":"2","build":-3})", record("2", -3)},
        DecodeCase{"LargestBuild", R"({"version":"2","build":9223372036854775807})",
                   record("2", std::numeric_limits<qint64>::max())},
        DecodeCase{"SmallestBuild", R"({"version":"2","build":-9223372036854775808})",
                   record("2", std::numeric_limits<qint64>::min())},
        DecodeCase{"FractionalBuild", R"({"version":"2","build":205.5})", std::nullopt},
        DecodeCase{"BuildAsText", R"({"version":"2","build":"205"})", std::nullopt},
        DecodeCase{"BuildJustTooBig", R"({"version":"2","build":9223372036854775808})",
                   std::nullopt},
        DecodeCase{"HugeBuild", R"({"version":"2","build":123456789012345678901234567890})",
                   std::nullopt},
        DecodeCase{"HugeDoubleBuild", R"({"version":"2","build":1e300})", std::nullopt},
        DecodeCase{"NoBuild", R"({"version":"2.0.4"})", std::nullopt},
        DecodeCase{"NoVersion", R"({"build":204})", std::nullopt},
        DecodeCase{"VersionAsNumber", R"({"version":2.1,"build":204})", std::nullopt},
        DecodeCase{"NullVersion", R"({"version":null,"build":204})", std::nullopt},
        DecodeCase{"NullBuild", R"({"version":"2","build":null})", std::nullopt},
        DecodeCase{"BoolBuild", R"({"version":"2","build":true})", std::nullopt},
        DecodeCase{"DownloadURLAsNumber", R"({"version":"2","build":1,"downloadURL":7})",
                   std::nullopt},
        DecodeCase{"CommandAsObject", R"({"version":"2","build":1,"homebrewCommand":{}})",
                   std::nullopt},
        DecodeCase{"Array", R"([{"version":"2","build":1}])", std::nullopt},
        DecodeCase{"NotJSON", "<html>Not found</html>", std::nullopt},
        DecodeCase{"TrailingGarbage", R"({"version":"2","build":1} x)", std::nullopt},
        DecodeCase{"Empty", "", std::nullopt}),
    [](const testing::TestParamInfo<DecodeCase> &info) { return info.param.name; });

struct CompareCase {
    const char *left;
    const char *right;
    std::strong_ordering expected;
};

void PrintTo(const CompareCase &c, std::ostream *os)
{
    *os << c.left << " vs " << c.right;
}

class VersionComparison : public testing::TestWithParam<CompareCase>
{
};

TEST_P(VersionComparison, OrdersNumericRunsByValue)
{
    const CompareCase &c = GetParam();
    const QString left = QString::fromUtf8(c.left);
    const QString right = QString::fromUtf8(c.right);
    EXPECT_EQ(compareVersions(left, right), c.expected) << c.left << " vs " << c.right;
    // The order is antisymmetric.
    EXPECT_EQ(compareVersions(right, left), 0 <=> c.expected) << c.right << " vs " << c.left;
}

using std::strong_ordering;
INSTANTIATE_TEST_SUITE_P(
    Table, VersionComparison,
    testing::Values(CompareCase{"2.0.4", "2.0.4", strong_ordering::equal},
                    CompareCase{"2.0.10", "2.0.9", strong_ordering::greater},
                    CompareCase{"2.1", "2.0.4", strong_ordering::greater},
                    CompareCase{"1.0", "1.0.0", strong_ordering::less},
                    CompareCase{"2.0.3", "2.0.4", strong_ordering::less},
                    CompareCase{"10.0", "9.9.9", strong_ordering::greater},
                    CompareCase{"2.01", "2.1", strong_ordering::equal},
                    CompareCase{"2.0.4b", "2.0.4", strong_ordering::greater},
                    CompareCase{"2.0.4a", "2.0.4b", strong_ordering::less},
                    CompareCase{"2.0.4-beta2", "2.0.4-beta10", strong_ordering::less},
                    CompareCase{"v2", "2", strong_ordering::greater},
                    CompareCase{"2.x", "2.1", strong_ordering::greater},
                    CompareCase{"", "2.0.4", strong_ordering::less},
                    CompareCase{"", "", strong_ordering::equal},
                    CompareCase{"2.99999999999999999999999999999",
                                "2.100000000000000000000000000000", strong_ordering::less},
                    CompareCase{"3.000000000000000000000000000001", "3.1", strong_ordering::equal},
                    CompareCase{"18446744073709551617", "18446744073709551616",
                                strong_ordering::greater}));

struct BuildNumberCase {
    const char *text;
    std::optional<qint64> expected;
};

TEST(ProgramVersion, ParsesBuildNumbersStrictly)
{
    const BuildNumberCase cases[] = {
        {"204", 204},
        {"+7", 7},
        {"-12", -12},
        {"0", 0},
        {"9223372036854775807", std::numeric_limits<qint64>::max()},
        {"-9223372036854775808", std::numeric_limits<qint64>::min()},
        {"9223372036854775808", std::nullopt},
        {"", std::nullopt},
        {"+", std::nullopt},
        {"+-1", std::nullopt},
        {" 204", std::nullopt},
        {"204 ", std::nullopt},
        {"2.0", std::nullopt},
        {"0x10", std::nullopt},
        {"٢٠٤", std::nullopt},
    };
    for (const BuildNumberCase &c : cases)
        EXPECT_EQ(ProgramVersion::parseBuildNumber(QString::fromUtf8(c.text)), c.expected)
            << '"' << c.text << '"';
}

TEST(ProgramVersion, ComesFromTheBuild)
{
    EXPECT_FALSE(ProgramVersion::text().isEmpty());
    EXPECT_EQ(ProgramVersion::text(), QStringLiteral(QUILLSTASH_TEST_EXPECTED_VERSION));
}

// Own version 2.0.4, build 204.
struct OutcomeCase {
    const char *name;
    HttpResponse response;
    UpdateCheckStatus expected;
};

HttpResponse answer(int status, const char *body)
{
    return {HttpResponse::Outcome::Received, status, body};
}

const UpdateCheckStatus upToDate = UpdateCheckStatus::UpToDate{QStringLiteral("2.0.4"), 204};
const UpdateCheckStatus unreachable =
    UpdateCheckStatus::Failed{UpdateProtocol::unreachableMessage()};

class UpdateOutcome : public testing::TestWithParam<OutcomeCase>
{
};

TEST_P(UpdateOutcome, FollowsTheAnswer)
{
    EXPECT_EQ(UpdateProtocol::statusFor(GetParam().response, QStringLiteral("2.0.4"), 204),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, UpdateOutcome,
    testing::Values(
        OutcomeCase{"SameVersionAndBuild", answer(200, R"({"version":"2.0.4","build":204})"),
                    upToDate},
        OutcomeCase{"NewerBuild", answer(200, R"({"version":"2.0.4","build":205})"),
                    UpdateCheckStatus::UpdateAvailable{record("2.0.4", 205)}},
        OutcomeCase{"NewerVersion", answer(200, R"({"version":"2.0.10","build":204})"),
                    UpdateCheckStatus::UpdateAvailable{record("2.0.10", 204)}},
        OutcomeCase{"OlderVersionNewerBuild", answer(200, R"({"version":"2.0.3","build":300})"),
                    UpdateCheckStatus::UpdateAvailable{record("2.0.3", 300)}},
        OutcomeCase{"OlderBuild", answer(200, R"({"version":"2.0.4","build":203})"), upToDate},
        OutcomeCase{"OtherSuccessStatus", answer(203, R"({"version":"2.1","build":1})"),
                    UpdateCheckStatus::UpdateAvailable{record("2.1", 1)}},
        OutcomeCase{"NotFound", answer(404, R"({"version":"9","build":900})"),
                    UpdateCheckStatus::Failed{UpdateProtocol::httpStatusMessage(404)}},
        OutcomeCase{"ServerError", answer(500, ""),
                    UpdateCheckStatus::Failed{UpdateProtocol::httpStatusMessage(500)}},
        OutcomeCase{"VersionWithoutBuild", answer(200, R"({"version":"2.1"})"), unreachable},
        OutcomeCase{"EmptyBody", answer(200, ""), unreachable},
        OutcomeCase{"Transport", {HttpResponse::Outcome::TransportFailed, 0, {}}, unreachable},
        OutcomeCase{"TooLarge",
                    {HttpResponse::Outcome::BodyTooLarge, 200, R"({"version":"9","build":9})"},
                    unreachable}),
    [](const testing::TestParamInfo<OutcomeCase> &info) { return info.param.name; });

TEST(UpdateOutcome, NamesTheHttpStatus)
{
    EXPECT_EQ(UpdateProtocol::httpStatusMessage(404),
              QStringLiteral("Update server answered with HTTP 404. Please try again later."));
}

struct EndpointCase {
    const char *vendor;
    const char *expected; // Null: no request may go out.
};

TEST(UpdateProtocol, AsksOnlyOverHttpsOrOnThisMachine)
{
    const EndpointCase cases[] = {
        {"https://quillstash.app", "https://quillstash.app/version.json?t=1700000000"},
        {"https://example.org/some/page?x=1#top", "https://example.org/version.json?t=1700000000"},
        {"https://example.org:8443/", "https://example.org:8443/version.json?t=1700000000"},
        {"http://127.0.0.1:8080", "http://127.0.0.1:8080/version.json?t=1700000000"},
        {"http://127.4.5.6", "http://127.4.5.6/version.json?t=1700000000"},
        {"http://[::1]:99/", "http://[::1]:99/version.json?t=1700000000"},
        {"http://localhost:3000", "http://localhost:3000/version.json?t=1700000000"},
        {"http://quillstash.app", nullptr},
        {"http://10.0.0.1", nullptr},
        {"http://127.0.0.1.example.org", nullptr},
        {"ftp://quillstash.app", nullptr},
        {"https://", nullptr},
        {"", nullptr},
    };
    for (const EndpointCase &c : cases) {
        const std::optional<HttpRequest> request = UpdateProtocol::request(
            QUrl(QString::fromUtf8(c.vendor)), 1700000000, QStringLiteral("2.0.4"));
        if (!c.expected) {
            EXPECT_FALSE(request) << c.vendor;
            continue;
        }
        ASSERT_TRUE(request) << c.vendor;
        EXPECT_EQ(request->url.toString(), QString::fromUtf8(c.expected));
        EXPECT_EQ(request->userAgent, "Quillstash/2.0.4");
    }
}

TEST(UpdateProtocol, DownloadsFromTheRecordElseFromTheVendor)
{
    const QUrl vendor(QStringLiteral("https://quillstash.app/about?x#y"));
    const auto address = [&](std::optional<QString> url) {
        return UpdateProtocol::downloadAddress(record("3", 3, std::move(url)), vendor);
    };
    EXPECT_EQ(address(std::nullopt), QUrl("https://quillstash.app/download/Quillstash.dmg"));
    EXPECT_EQ(address(site), QUrl(site));
    EXPECT_EQ(address(QStringLiteral("http://example.org/a")), QUrl("http://example.org/a"));
    for (const char *bad : {"", "not a url", "file:///etc/passwd", "javascript:alert(1)",
                            "https://exa mple.org", "/relative/path"})
        EXPECT_FALSE(address(QString::fromUtf8(bad))) << bad;
}

} // namespace
