#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Exact substring test of one needle over many haystacks. It screens sixteen positions at a
// time by the needle's first and last byte, which keeps a search over the whole history within
// a frame.
class SubstringFinder
{
public:
    explicit SubstringFinder(const QByteArray &needle) : m_needle(needle) {}

    bool occursIn(QByteArrayView haystack) const;

private:
    QByteArray m_needle;
};
