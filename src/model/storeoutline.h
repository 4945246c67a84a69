#pragma once

#include <QByteArray>
#include <QList>
#include <optional>

// Where the clippings and collections stand in the text of a store file. The whole text is
// checked to be JSON here, without a size limit, so that each record can then be parsed and
// kept on its own.
namespace StoreOutline
{

struct Span {
    qsizetype begin = 0;
    qsizetype end = 0;
    qsizetype size() const { return end - begin; }
};

struct Outline {
    QList<Span> items;
    QList<Span> collections;
};

// Nothing when the text is not JSON, its root is not an object with the arrays "items" and
// "collections", or an element of those arrays is not an object. The first of repeated keys
// counts.
std::optional<Outline> find(const QByteArray &json);

} // namespace StoreOutline
