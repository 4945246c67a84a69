#include "storeoutline.h"

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

} // namespace

namespace StoreOutline
{

std::optional<Outline> find(const QByteArray &json)
{
    // One vectorised pass checks the encoding, several times faster than the reader's own check.
    if (!simdjson::validate_utf8(json.constData(), size_t(json.size())))
        return std::nullopt;
    // Reading ends at the first zero byte, which JSON allows nowhere; one after the root is
    // caught below. QByteArray keeps a zero after its bytes.
    rapidjson::StringStream stream(json.constData());
    OutlineHandler handler(stream);
    rapidjson::Reader reader;
    // Iterative, so that deep nesting cannot exhaust the stack.
    constexpr unsigned flags = rapidjson::kParseIterativeFlag | rapidjson::kParseStopWhenDoneFlag;
    if (reader.Parse<flags>(stream, handler).IsError())
        return std::nullopt;
    // Only white space may follow the root.
    for (qsizetype i = qsizetype(stream.Tell()); i < json.size(); ++i) {
        const char c = json[i];
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r')
            return std::nullopt;
    }
    return handler.outline();
}

} // namespace StoreOutline
