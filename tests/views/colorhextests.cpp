#include "model/colorhex.h"

#include <gtest/gtest.h>

namespace
{

struct Case {
    const char *text;
    ColorHex expected;
};

void PrintTo(const Case &c, std::ostream *os)
{
    *os << '"' << c.text << '"';
}

class ColorHexTest : public testing::TestWithParam<Case>
{
};

} // namespace

TEST_P(ColorHexTest, ParsesAsTheCardShowsIt)
{
    const Case &c = GetParam();
    const QString text = QString::fromUtf8(c.text);
    EXPECT_EQ(ColorHex::parse(text), c.expected) << c.text;
    EXPECT_EQ(colorFromHex(text), QColor(c.expected.red, c.expected.green, c.expected.blue));
    EXPECT_EQ(hexToRGBString(text), QStringLiteral("rgb(%1, %2, %3)")
                                        .arg(c.expected.red)
                                        .arg(c.expected.green)
                                        .arg(c.expected.blue));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ColorHexTest,
    testing::Values(Case{"FF8800", {255, 136, 0}}, Case{"#ff8800", {255, 136, 0}},
                    Case{"f80", {255, 136, 0}}, Case{"#F80", {255, 136, 0}},
                    Case{"  #1e90ff;", {30, 144, 255}}, Case{"000000", {0, 0, 0}},
                    // Other lengths fall back.
                    Case{"12345", {79, 194, 231}}, Case{"", {79, 194, 231}},
                    Case{"#", {79, 194, 231}}, Case{"FF880011", {79, 194, 231}},
                    Case{"FFFFFFFFFFFFFFFFFFFFFF", {79, 194, 231}},
                    // Six or three characters, but not all hexadecimal: the leading digits count.
                    Case{"12zz34", {0, 0, 18}}, Case{"zzzzzz", {0, 0, 0}}, Case{"1g1", {0, 0, 17}},
                    Case{"#ff 880", {0, 0, 255}}));

TEST(ColorHexStringTest, FormatsTheRgbLine)
{
    EXPECT_EQ(hexToRGBString(u"FF8800"), QStringLiteral("rgb(255, 136, 0)"));
    EXPECT_EQ(hexToRGBString(QString(500, QLatin1Char('f'))), QStringLiteral("rgb(79, 194, 231)"));
}
