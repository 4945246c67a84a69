#include "model/textmetrics.h"

#include <gtest/gtest.h>

namespace
{

struct GraphemeCase {
    const char16_t *text;
    qsizetype count;
};

void PrintTo(const GraphemeCase &c, std::ostream *os)
{
    *os << '"' << QString::fromUtf16(c.text).toStdString() << '"';
}

class GraphemeCountTest : public testing::TestWithParam<GraphemeCase>
{
};

TEST_P(GraphemeCountTest, CountsWhatAReaderSees)
{
    EXPECT_EQ(TextMetrics::graphemeCount(QStringView(GetParam().text)), GetParam().count);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, GraphemeCountTest,
    testing::Values(GraphemeCase{u"", 0}, GraphemeCase{u"abc", 3},
                    GraphemeCase{u"a\r\nb", 3},  // CR LF is one
                    GraphemeCase{u"e\u0301", 1}, // combining accent
                    GraphemeCase{u"\U0001F468\u200D\U0001F469\u200D\U0001F467", 1}, // ZWJ family
                    GraphemeCase{u"\U0001F1E9\U0001F1EA\U0001F1EB\U0001F1F7", 2},   // two flags
                    GraphemeCase{u"\u270C\uFE0F \U0001F60E", 3},
                    GraphemeCase{u"\U0001F44D\U0001F3FD", 1})); // skin tone modifier

TEST(TextMetricsTest, LastGraphemesKeepsClustersWhole)
{
    EXPECT_EQ(TextMetrics::lastGraphemes(u"abcdef", 3), u"def");
    EXPECT_EQ(TextMetrics::lastGraphemes(u"ab", 3), u"ab");
    EXPECT_EQ(TextMetrics::lastGraphemes(u"x\U0001F468\u200D\U0001F469y", 2),
              u"\U0001F468\u200D\U0001F469y");
}

TEST(TextMetricsTest, ClassifiesByFirstScalar)
{
    EXPECT_TRUE(TextMetrics::isWhiteSpace(u" "));
    EXPECT_TRUE(TextMetrics::isWhiteSpace(u"\u3000"));
    EXPECT_FALSE(TextMetrics::isWhiteSpace(u"a"));
    for (const char16_t *lineBreak : {u"\n", u"\r", u"\r\n", u"\u2028", u"\u0085"})
        EXPECT_TRUE(TextMetrics::isLineBreak(lineBreak));
    EXPECT_FALSE(TextMetrics::isLineBreak(u"\t"));
}

} // namespace
