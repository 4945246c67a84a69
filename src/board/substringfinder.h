#pragma once

#include <QString>
#include <QStringView>
#include <array>

// Whether a text, lower-cased, holds an already lower-cased needle, without lower-casing the
// text: a search over the whole history reads each clipping's own text, so that no lower-cased
// copy of every text has to be kept. It screens sixteen positions at a time by the units that
// lower-case to the needle's first and last unit, which keeps such a search within a frame.
class SubstringFinder
{
public:
    explicit SubstringFinder(const QString &loweredNeedle);

    bool occursIn(QStringView haystack) const;

    // Builds the case table the screening reads, which otherwise the first search builds.
    static void prepare();

private:
    // The units a screened position may hold; all of them when there are too many to compare.
    struct Screen {
        std::array<char16_t, 3> units{};
        bool any = true;
    };
    static Screen screenFor(char16_t lowered);

    bool matchesAt(const char16_t *text, qsizetype size, qsizetype position, bool &dotted) const;
    bool occursInLowered(QStringView haystack) const;

    QString m_needle;
    // False for needles whose matches the screening could miss; those lower-case every text.
    bool m_screened = false;
    Screen m_first;
    Screen m_last;
};
