#include "syntaxhighlighter.h"

#include "views/foundation/theme.h"

#include <QRegularExpression>
#include <algorithm>
#include <array>
#include <vector>

namespace
{

struct Rule {
    QRegularExpression pattern;
    SyntaxHighlighter::Role role;
};

// Unicode word boundaries, as the patterns were written for.
QRegularExpression compile(const char *source)
{
    return QRegularExpression(QString::fromLatin1(source),
                              QRegularExpression::UseUnicodePropertiesOption);
}

const std::vector<Rule> &rules()
{
    using Role = SyntaxHighlighter::Role;
    static const std::vector<Rule> compiled = [] {
        std::vector<Rule> list;
        for (const char *keyword : {"\\bfunc\\b", "\\bif\\b", "\\bnil\\b", "\\blet\\b", "\\bvar\\b",
                                    "\\breturn\\b", "\\bstruct\\b", "\\bclass\\b"})
            list.push_back({compile(keyword), Role::Keyword});
        for (const char *name : {"\\bString\\b", "\\bInt\\b", "\\bBool\\b", "\\bprint\\b"})
            list.push_back({compile(name), Role::TypeName});
        list.push_back({compile("\"[^\"]*\""), Role::String});
        std::erase_if(list, [](const Rule &rule) { return !rule.pattern.isValid(); });
        return list;
    }();
    return compiled;
}

} // namespace

QList<SyntaxHighlighter::Match> SyntaxHighlighter::matches(const QString &code)
{
    QList<Match> result;
    for (const Rule &rule : rules()) {
        QRegularExpressionMatchIterator it = rule.pattern.globalMatch(code);
        while (it.hasNext()) {
            const QRegularExpressionMatch match = it.next();
            if (match.capturedLength() > 0)
                result.append({match.capturedStart(), match.capturedLength(), rule.role});
        }
    }
    return result;
}

QList<SyntaxHighlighter::Match> SyntaxHighlighter::runs(const QString &code)
{
    return runs(code, code.size());
}

QList<SyntaxHighlighter::Match> SyntaxHighlighter::runs(const QString &code,
                                                        qsizetype visibleLength)
{
    visibleLength = std::clamp<qsizetype>(visibleLength, 0, code.size());
    const QString shown = code.left(visibleLength);
    std::vector<Role> roles(size_t(shown.size()), Role::Base);
    for (const Match &match : matches(shown))
        std::fill_n(roles.begin() + match.start, match.length, match.role);
    // Strings pair the quotes in order; an odd one out is closed by the next quote after the
    // shown part, if there is one.
    if (shown.count(QLatin1Char('"')) % 2 == 1 &&
        code.indexOf(QLatin1Char('"'), visibleLength) >= 0)
        std::fill(roles.begin() + shown.lastIndexOf(QLatin1Char('"')), roles.end(), Role::String);

    QList<Match> result;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (result.isEmpty() || result.last().role != roles[size_t(i)])
            result.append({i, 0, roles[size_t(i)]});
        ++result.last().length;
    }
    return result;
}

QList<QTextLayout::FormatRange>
SyntaxHighlighter::formats(const QString &code, qsizetype visibleLength, const Theme &theme)
{
    QList<QTextLayout::FormatRange> result;
    for (const Match &run : runs(code, visibleLength)) {
        QTextLayout::FormatRange range;
        range.start = int(run.start);
        range.length = int(run.length);
        range.format.setForeground(colour(run.role, theme));
        result.append(range);
    }
    return result;
}

QColor SyntaxHighlighter::colour(Role role, const Theme &theme)
{
    switch (role) {
    case Role::Keyword:
        return theme.codeKeyword;
    case Role::TypeName:
        return theme.codeTypeName;
    case Role::String:
        return theme.codeString;
    case Role::Base:
        break;
    }
    return theme.codeBase;
}
