#include "storeoutline.h"

#include <algorithm>
#include <rapidjson/memorystream.h>
#include <rapidjson/reader.h>
#include <simdjson.h>

namespace
{

// The iterative reader calls the handler before it takes a bracket, so the stream stands on it.
class OutlineHandler : public rapidjson::BaseReaderHandler<rapidjson::UTF8<>, OutlineHandler>
{
public:
    explicit OutlineHandler(const rapidjson::StringStream &stream) : m_stream(stream) {}

    bool Default() { return value(); }
    bool Key(const char *text, rapidjson::SizeType length, bool)
    {
        // The text is only valid during the call.
        if (m_depth == 1) {
            const std::string_view key(text, length);
            m_key = key == "items"         ? RootKey::Items
                    : key == "collections" ? RootKey::Collections
                                           : RootKey::Other;
        }
        return true;
    }
    bool StartObject()
    {
        if (m_depth == 2 && m_target)
            m_begin = qsizetype(m_stream.Tell());
        else if (m_depth != 0 && !value())
            return false;
        ++m_depth;
        return true;
    }
    bool EndObject(rapidjson::SizeType)
    {
        --m_depth;
        if (m_depth == 2 && m_target)
            m_target->append({m_begin, qsizetype(m_stream.Tell()) + 1});
        return true;
    }
    bool StartArray()
    {
        if (m_depth == 1 && !m_target) {
            if (m_key == RootKey::Items && !m_seenItems) {
                m_target = &m_outline.items;
                m_seenItems = true;
            } else if (m_key == RootKey::Collections && !m_seenCollections) {
                m_target = &m_outline.collections;
                m_seenCollections = true;
            }
        } else if (!value()) {
            return false;
        }
        ++m_depth;
        return true;
    }
    bool EndArray(rapidjson::SizeType)
    {
        --m_depth;
        if (m_depth == 1)
            m_target = nullptr;
        return true;
    }

    std::optional<StoreOutline::Outline> outline()
    {
        if (!m_seenItems || !m_seenCollections || m_malformed)
            return std::nullopt;
        return std::move(m_outline);
    }

private:
    // Any value that does not open a record: the root must be an object, the two arrays may
    // hold objects only, and a first "items" or "collections" that is no array spoils the file.
    bool value()
    {
        if (m_depth == 1 && m_key == RootKey::Items && !m_seenItems)
            m_seenItems = m_malformed = true;
        if (m_depth == 1 && m_key == RootKey::Collections && !m_seenCollections)
            m_seenCollections = m_malformed = true;
        return m_depth != 0 && !(m_depth == 2 && m_target);
    }

    const rapidjson::StringStream &m_stream;
    StoreOutline::Outline m_outline;
    QList<StoreOutline::Span> *m_target = nullptr;
    enum class RootKey { Items, Collections, Other };
    RootKey m_key = RootKey::Other;
    qsizetype m_begin = 0;
    int m_depth = 0;
    bool m_seenItems = false;
    bool m_seenCollections = false;
    bool m_malformed = false;
};

// Iterative, so that deep nesting cannot exhaust the stack.
constexpr unsigned readerFlags = rapidjson::kParseIterativeFlag | rapidjson::kParseStopWhenDoneFlag;

bool isWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string_view trimmedEnd(std::string_view text)
{
    while (!text.empty() && isWhiteSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

std::optional<StoreOutline::Outline> findByReader(std::string_view json)
{
    // One vectorised pass checks the encoding, several times faster than the reader's own check.
    if (!simdjson::validate_utf8(json.data(), json.size()))
        return std::nullopt;
    // Reading ends at the first zero byte, which JSON allows nowhere; one after the root is
    // caught below. The text is followed by a zero.
    rapidjson::StringStream stream(json.data());
    OutlineHandler handler(stream);
    rapidjson::Reader reader;
    if (reader.Parse<readerFlags>(stream, handler).IsError())
        return std::nullopt;
    // Only white space may follow the root.
    for (size_t i = stream.Tell(); i < json.size(); ++i) {
        if (!isWhiteSpace(json[i]))
            return std::nullopt;
    }
    return handler.outline();
}

// On-Demand skips what it is not asked for without checking it. Fields other than the two
// arrays are rare and small, so the reader checks them, as it would on its own path. A scalar's
// token runs to the next bracket, comma or colon, and must be read whole.
bool isOneValue(std::string_view token, const char *textEnd)
{
    const bool container = token.front() == '{' || token.front() == '[';
    const size_t size = container ? size_t(textEnd - token.data()) : trimmedEnd(token).size();
    rapidjson::MemoryStream stream(token.data(), size);
    rapidjson::BaseReaderHandler<> handler;
    rapidjson::Reader reader;
    return !reader.Parse<readerFlags>(stream, handler).IsError() &&
           (container || stream.Tell() == size);
}

std::optional<StoreOutline::Outline> findOnDemand(simdjson::padded_string_view text)
{
    namespace ondemand = simdjson::ondemand;
    ondemand::parser parser;
    ondemand::document document;
    ondemand::object root;
    if (parser.iterate(text).get(document) || document.get_object().get(root))
        return std::nullopt;
    StoreOutline::Outline outline;
    bool seenItems = false;
    bool seenCollections = false;
    for (auto field : root) {
        std::string_view key;
        ondemand::value value;
        if (field.unescaped_key().get(key) || field.value().get(value))
            return std::nullopt;
        QList<StoreOutline::Span> *target = nullptr;
        if (key == "items" && !seenItems) {
            target = &outline.items;
            seenItems = true;
        } else if (key == "collections" && !seenCollections) {
            target = &outline.collections;
            seenCollections = true;
        }
        if (!target) {
            if (!isOneValue(value.raw_json_token(), text.data() + text.size()))
                return std::nullopt;
            continue;
        }
        ondemand::array array;
        if (value.get_array().get(array))
            return std::nullopt;
        for (auto element : array) {
            ondemand::object record;
            std::string_view raw;
            if (element.get_object().get(record) || record.raw_json().get(raw))
                return std::nullopt;
            // The raw text runs to the next comma or bracket, white space included.
            raw = trimmedEnd(raw);
            const qsizetype begin = raw.data() - text.data();
            target->append({begin, begin + qsizetype(raw.size())});
        }
    }
    if (!seenItems || !seenCollections)
        return std::nullopt;
    // Only white space may follow the root: nothing is left to read.
    const char *rest = nullptr;
    if (document.current_location().get(rest) != simdjson::OUT_OF_BOUNDS)
        return std::nullopt;
    return outline;
}

} // namespace

namespace StoreOutline
{

static_assert(paddingBytes == qsizetype(simdjson::SIMDJSON_PADDING));

qsizetype roomAfter(const QByteArray &json)
{
    // Capacity also counts room freed at the front, so only the room at the end tells whether
    // the bytes past the text are ours; a shallow copy reaches it, which the const text does not.
    return QByteArray(json).data_ptr().freeSpaceAtEnd();
}

std::optional<Outline> find(const QByteArray &json)
{
    return find(json, qsizetype(simdjson::SIMDJSON_MAXSIZE_BYTES));
}

std::optional<Outline> find(const QByteArray &json, qsizetype fastPathLimit)
{
    // QByteArray keeps a zero after its bytes, even without room.
    return find(std::string_view(json.constData(), size_t(json.size())),
                std::max<qsizetype>(roomAfter(json), 1), fastPathLimit);
}

std::optional<Outline> find(std::string_view json, qsizetype room)
{
    return find(json, room, qsizetype(simdjson::SIMDJSON_MAXSIZE_BYTES));
}

std::optional<Outline> find(std::string_view json, qsizetype room, qsizetype fastPathLimit)
{
    if (qsizetype(json.size()) >= fastPathLimit)
        return findByReader(json);
    // On-Demand reads up to the padding past the text.
    if (room >= paddingBytes)
        return findOnDemand(
            simdjson::padded_string_view(json.data(), json.size(), json.size() + size_t(room)));
    // A text read without that room costs one copy, still far cheaper than the reader.
    const simdjson::padded_string copy(json.data(), json.size());
    return findOnDemand(copy);
}

} // namespace StoreOutline
