#include "views/cards/syntaxhighlighter.h"
#include "views/foundation/theme.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <vector>

namespace
{

using Role = SyntaxHighlighter::Role;

// The role of every position, from the runs.
std::vector<Role> rolesOf(const QString &code)
{
    std::vector<Role> roles;
    for (const SyntaxHighlighter::Match &run : SyntaxHighlighter::runs(code))
        roles.insert(roles.end(), size_t(run.length), run.role);
    return roles;
}

Role roleAt(const QString &code, const QString &part, qsizetype from = 0)
{
    const qsizetype at = code.indexOf(part, from);
    EXPECT_GE(at, 0) << part.toStdString();
    return rolesOf(code)[size_t(at)];
}

struct Case {
    const char *code;
    const char *part;
    Role role;
};

void PrintTo(const Case &c, std::ostream *os)
{
    *os << c.code << " / " << c.part;
}

class HighlighterCaseTest : public testing::TestWithParam<Case>
{
};

} // namespace

TEST_P(HighlighterCaseTest, ColoursThePart)
{
    const Case &c = GetParam();
    const QString code = QString::fromUtf8(c.code);
    const QString part = QString::fromUtf8(c.part);
    const qsizetype at = code.indexOf(part);
    ASSERT_GE(at, 0);
    const std::vector<Role> roles = rolesOf(code);
    for (qsizetype i = at; i < at + part.size(); ++i)
        EXPECT_EQ(roles[size_t(i)], c.role) << c.code << " at " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HighlighterCaseTest,
    testing::Values(Case{"let x = \"if\"", "let", Role::Keyword},
                    Case{"let x = \"if\"", "\"if\"", Role::String},
                    Case{"printer", "printer", Role::Base},
                    Case{"print(x)", "print", Role::TypeName},
                    Case{"say \"hello", "\"hello", Role::Base},
                    Case{"Integer", "Integer", Role::Base}, Case{"x: Int", "Int", Role::TypeName},
                    Case{"a \"one\nlet two\" b", "\"one\nlet two\"", Role::String},
                    Case{"iffy ifs if", "iffy ifs ", Role::Base}, Case{"éif", "éif", Role::Base},
                    Case{"func f() -> String { return nil }", "func", Role::Keyword},
                    Case{"func f() -> String { return nil }", "String", Role::TypeName},
                    Case{"func f() -> String { return nil }", "nil", Role::Keyword},
                    Case{"\"a\" x \"b\"", " x ", Role::Base}));

TEST(HighlighterTest, EmptyCodeHasNoRuns)
{
    EXPECT_TRUE(SyntaxHighlighter::runs(QString()).isEmpty());
    EXPECT_TRUE(SyntaxHighlighter::formats(QString(), 0, Theme::dark()).isEmpty());
}

TEST(HighlighterTest, RunsCoverTheTextAndLaterRulesWin)
{
    const QStringList words = {
        QStringLiteral("let"),   QStringLiteral("if"),  QStringLiteral("\""),
        QStringLiteral("print"), QStringLiteral("Int"), QStringLiteral("x"),
        QStringLiteral(" "),     QStringLiteral("\n"),  QStringLiteral("String"),
        QStringLiteral("é"),     QStringLiteral("nil"), QStringLiteral("(")};
    QRandomGenerator random(42);
    for (int round = 0; round < 300; ++round) {
        QString code;
        const int length = random.bounded(40);
        for (int i = 0; i < length; ++i)
            code += words[random.bounded(int(words.size()))];

        // The runs tile the text exactly, in order.
        qsizetype next = 0;
        for (const SyntaxHighlighter::Match &run : SyntaxHighlighter::runs(code)) {
            ASSERT_EQ(run.start, next) << code.toStdString();
            ASSERT_GT(run.length, 0);
            next += run.length;
        }
        ASSERT_EQ(next, code.size());

        // Each position takes the role of the last rule that matched it.
        std::vector<Role> expected(size_t(code.size()), Role::Base);
        for (const SyntaxHighlighter::Match &match : SyntaxHighlighter::matches(code))
            for (qsizetype i = match.start; i < match.start + match.length; ++i)
                expected[size_t(i)] = match.role;
        ASSERT_EQ(rolesOf(code), expected) << code.toStdString();

        // The shown lines are coloured as in the whole text.
        qsizetype lineEnd = code.indexOf(QLatin1Char('\n'));
        while (lineEnd >= 0) {
            std::vector<Role> part;
            for (const SyntaxHighlighter::Match &run : SyntaxHighlighter::runs(code, lineEnd))
                part.insert(part.end(), size_t(run.length), run.role);
            ASSERT_EQ(part, std::vector<Role>(expected.begin(), expected.begin() + lineEnd))
                << code.toStdString() << " up to " << lineEnd;
            lineEnd = code.indexOf(QLatin1Char('\n'), lineEnd + 1);
        }
    }
}

TEST(HighlighterTest, FormatsUseTheAppearancesPalette)
{
    const QString code = QStringLiteral("let s = \"x\"");
    for (const Theme *theme : {&Theme::dark(), &Theme::light()}) {
        const QList<QTextLayout::FormatRange> formats =
            SyntaxHighlighter::formats(code, code.size(), *theme);
        ASSERT_FALSE(formats.isEmpty());
        EXPECT_EQ(formats.first().format.foreground().color(), theme->codeKeyword);
        EXPECT_EQ(formats.last().format.foreground().color(), theme->codeString);
    }
    EXPECT_NE(Theme::dark().codeKeyword, Theme::light().codeKeyword);
    EXPECT_EQ(roleAt(code, QStringLiteral(" = ")), Role::Base);
}
