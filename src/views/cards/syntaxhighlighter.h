#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QTextLayout>

struct Theme;

// Colours a short piece of code: keywords, then type and function names, then double-quoted
// strings, each later rule painting over the earlier ones.
class SyntaxHighlighter
{
public:
    enum class Role : quint8 { Base, Keyword, TypeName, String };

    // One matched range, in the order the rules applied them; positions are QString (UTF-16)
    // indices.
    struct Match {
        qsizetype start = 0;
        qsizetype length = 0;
        Role role = Role::Base;
        bool operator==(const Match &) const = default;
    };

    static QList<Match> matches(const QString &code);
    // The final role of every position, run-length coded: consecutive ranges covering the whole
    // text, each with the role the last matching rule gave it.
    static QList<Match> runs(const QString &code);
    // The runs of the first visibleLength positions, coloured as in the whole text, where
    // visibleLength ends a line (or lies beyond what is seen): a string that opens before it
    // and closes after it is still a string.
    static QList<Match> runs(const QString &code, qsizetype visibleLength);
    // Text formats for a QTextLayout in the theme's code colours, for the first visibleLength
    // positions.
    static QList<QTextLayout::FormatRange> formats(const QString &code, qsizetype visibleLength,
                                                   const Theme &theme);
    static QColor colour(Role role, const Theme &theme);
};
