#include "store/vendoraddress.h"

#include <gtest/gtest.h>

namespace
{

class VendorAddressTest : public testing::Test
{
protected:
    void TearDown() override { qunsetenv(VendorAddress::environmentVariable); }
    QUrl withEnvironment(const QByteArray &value)
    {
        qputenv(VendorAddress::environmentVariable, value);
        return VendorAddress::webAddress();
    }
};

TEST_F(VendorAddressTest, TheEnvironmentOverridesTheBuiltInAddress)
{
    qunsetenv(VendorAddress::environmentVariable);
    const QUrl builtIn = VendorAddress::webAddress();
    EXPECT_TRUE(builtIn.isValid());
    EXPECT_TRUE(builtIn.scheme().startsWith(u"http"));
    EXPECT_EQ(withEnvironment("http://127.0.0.1:8080/"), QUrl("http://127.0.0.1:8080/"));
    EXPECT_EQ(withEnvironment(" https://example.org "), QUrl("https://example.org"));
    for (const QByteArray bad : {"", "not a url", "ftp://example.org", "file:///etc/passwd",
                                 "https://", "https://exa mple.org"})
        EXPECT_EQ(withEnvironment(bad), builtIn) << bad.constData();
}

} // namespace
