#pragma once

#include <QByteArray>
#include <QList>
#include <optional>
#include <string_view>

// Where the clippings and collections stand in the text of a store file, so that each record
// can then be parsed and kept on its own.
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

// Spare bytes after the text that save find() and the records' parse a copy of it.
inline constexpr qsizetype paddingBytes = 64;
// The spare bytes after the text, in its own allocation.
qsizetype roomAfter(const QByteArray &json);

// Nothing when the text is not JSON, its root is not an object with the arrays "items" and
// "collections", or an element of those arrays is not an object. The first of repeated keys
// counts. Texts of fastPathLimit bytes or more are read by a slower reader without a size
// limit that checks every byte; below it, the records' own contents are only checked to be
// UTF-8 with balanced brackets and closed strings, and are left to the records' parse.
std::optional<Outline> find(const QByteArray &json);
std::optional<Outline> find(const QByteArray &json, qsizetype fastPathLimit);
// Over text followed by `room` readable bytes, the first one zero.
std::optional<Outline> find(std::string_view json, qsizetype room);
std::optional<Outline> find(std::string_view json, qsizetype room, qsizetype fastPathLimit);

} // namespace StoreOutline
