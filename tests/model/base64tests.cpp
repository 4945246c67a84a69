#include "model/base64.h"

#include <gtest/gtest.h>

namespace
{

TEST(Base64Test, RoundTripsEveryLengthAndByte)
{
    QByteArray bytes;
    for (int i = 0; i < 300; ++i) {
        const auto decoded = Base64::decode(Base64::encode(bytes).toStdString());
        ASSERT_TRUE(decoded) << "length " << i;
        EXPECT_EQ(*decoded, bytes);
        EXPECT_EQ(Base64::encode(bytes), bytes.toBase64()) << "the standard alphabet and padding";
        bytes.append(char(i * 37));
    }
}

class MalformedBase64Test : public testing::TestWithParam<const char *>
{
};

TEST_P(MalformedBase64Test, IsRejected)
{
    EXPECT_FALSE(Base64::decode(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Texts, MalformedBase64Test,
                         testing::Values("YWJ", "Y===", "====", "YQ=a", "Y=Jj", " YWJ", "YWJ ",
                                         "    ", "YW\nJ", "YWJjZA==\n", "Y-Jj", "YW_j", "YW*j",
                                         "YWJjZA=\r"));

TEST(Base64Test, AcceptsPadding)
{
    EXPECT_EQ(Base64::decode("YQ=="), QByteArray("a"));
    EXPECT_EQ(Base64::decode("YWI="), QByteArray("ab"));
    EXPECT_EQ(Base64::decode(""), QByteArray());
}

} // namespace
