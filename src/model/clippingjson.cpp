#include "clippingjson.h"

#include "base64.h"
#include "storeoutline.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <cstring>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>
#include <simdjson.h>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace
{

using simdjson::dom::element;

// Compares what the encoder writes with a text instead of keeping it.
class MatchStream
{
public:
    using Ch = char;
    // With `decodedFrom`, the clipping was decoded from this very text, so that Base64 in it
    // already decoded strictly to the clipping's bytes: only its last group can differ from
    // what the encoder writes, by stray bits.
    MatchStream(std::string_view expected, bool decodedFrom)
        : m_expected(expected), m_decodedFrom(decodedFrom)
    {
    }

    void Put(char c)
    {
        if (m_at < m_expected.size() && m_expected[m_at] == c)
            ++m_at;
        else
            m_differs = true;
    }
    void Flush() {}
    void append(const char *text, size_t size)
    {
        if (m_differs || m_expected.size() - m_at < size ||
            std::memcmp(m_expected.data() + m_at, text, size) != 0) {
            m_differs = true;
            return;
        }
        m_at += size;
    }
    void skip(size_t size)
    {
        if (m_expected.size() - m_at < size)
            m_differs = true;
        else
            m_at += size;
    }
    bool decodedFrom() const { return m_decodedFrom; }
    bool differs() const { return m_differs; }
    bool matches() const { return !m_differs && m_at == m_expected.size(); }

private:
    std::string_view m_expected;
    size_t m_at = 0;
    bool m_decodedFrom = false;
    bool m_differs = false;
};

bool differs(const rapidjson::StringBuffer &)
{
    return false;
}

bool differs(const MatchStream &stream)
{
    return stream.differs();
}

// How many leading bytes of a field need no encoding, as what the text holds for them is known.
qsizetype knownBytes(const rapidjson::StringBuffer &, qsizetype)
{
    return 0;
}

qsizetype knownBytes(MatchStream &stream, qsizetype size)
{
    if (!stream.decodedFrom() || size == 0)
        return 0;
    const qsizetype known = (size - 1) / 3 * 3;
    stream.skip(size_t(known / 3 * 4));
    return known;
}

// Image bytes are encoded a piece at a time, so that no whole copy of their text is ever made
// beside the output.
constexpr qsizetype base64Piece = 3 * 16 * 1024;

void appendBase64(rapidjson::StringBuffer &buffer, const char *bytes, qsizetype size)
{
    const qsizetype room = Base64::encodedRoom(size);
    char *out = buffer.Push(size_t(room));
    buffer.Pop(size_t(room - Base64::encodeInto(bytes, size, out)));
}

void appendBase64(MatchStream &stream, const char *bytes, qsizetype size)
{
    std::array<char, Base64::encodedRoom(base64Piece)> text;
    stream.append(text.data(), size_t(Base64::encodeInto(bytes, size, text.data())));
}

template <typename Stream> class Encoder
{
public:
    explicit Encoder(Stream &stream) : m_stream(stream), m_writer(stream) {}

    rapidjson::Writer<Stream> &writer() { return m_writer; }

    void key(std::string_view key)
    {
        m_writer.Key(key.data(), static_cast<rapidjson::SizeType>(key.size()));
    }
    void string(const QByteArray &utf8)
    {
        m_writer.String(utf8.constData(), static_cast<rapidjson::SizeType>(utf8.size()));
    }
    void string(std::string_view name, const QString &value)
    {
        key(name);
        string(value.toUtf8());
    }
    void string(std::string_view name, const std::optional<QString> &value)
    {
        if (value)
            string(name, *value);
    }
    void bytes(std::string_view name, const std::optional<QByteArray> &value)
    {
        if (!value)
            return;
        key(name);
        // Base64 never needs escaping, so it skips the writer's character scan; the writer only
        // puts the separator and the opening quote.
        m_writer.RawValue("\"", 1, rapidjson::kStringType);
        for (qsizetype at = knownBytes(m_stream, value->size());
             at < value->size() && !differs(m_stream); at += base64Piece)
            appendBase64(m_stream, value->constData() + at,
                         std::min(base64Piece, value->size() - at));
        m_stream.Put('"');
    }
    void boolean(std::string_view name, bool value)
    {
        key(name);
        m_writer.Bool(value);
    }
    void uuid(const QUuid &id) { string(id.toByteArray(QUuid::WithoutBraces).toUpper()); }

private:
    Stream &m_stream;
    rapidjson::Writer<Stream> m_writer;
};

template <typename Stream> void encodeItem(Stream &stream, const ClippingItem &item)
{
    Encoder<Stream> out(stream);
    out.writer().StartObject();
    out.key("id");
    out.uuid(item.id);
    out.string("type", rawValue(item.type));
    out.string("textContent", item.textContent);
    out.bytes("encryptedPasswordData", item.encryptedPasswordData);
    out.boolean("isPassword", item.isPassword);
    if (item.isMasked)
        out.boolean("isMasked", *item.isMasked);
    out.string("richKind", rawValue(item.richKind));
    out.bytes("rtfData", item.rtfData);
    out.bytes("imageData", item.imageData);
    out.string("imageDimensions", item.imageDimensions);
    out.string("fileName", item.fileName);
    out.string("filePath", item.filePath);
    out.string("urlTitle", item.urlTitle);
    out.string("colorHex", item.colorHex);
    out.string("calendarSchedule", item.calendarSchedule);
    out.string("sourceAppName", item.sourceAppName);
    out.string("sourceAppBundleID", item.sourceAppBundleID);
    out.string("windowTitle", item.windowTitle);
    out.key("createdAt");
    out.writer().Double(item.createdAt.secondsSinceReferenceDate());
    out.boolean("isFavorite", item.isFavorite);
    out.key("collectionIDs");
    out.writer().StartArray();
    for (const QUuid &id : item.collectionIDs)
        out.uuid(id);
    out.writer().EndArray();
    out.string("customRelativeTimeOverride", item.customRelativeTimeOverride);
    out.writer().EndObject();
}

QByteArray finish(const rapidjson::StringBuffer &buffer)
{
    return QByteArray(buffer.GetString(), static_cast<qsizetype>(buffer.GetSize()));
}

bool isHex(char c)
{
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

QString toQString(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// Each reader returns false when the value has the wrong form.
bool readString(element value, QString &out)
{
    std::string_view text;
    if (value.get_string().get(text))
        return false;
    out = toQString(text);
    return true;
}

// App names and bundle ids repeat across thousands of clippings; one string each is kept for the
// first few distinct ones.
class SharedNames
{
public:
    bool read(element value, QString &out)
    {
        std::string_view text;
        if (value.get_string().get(text))
            return false;
        for (const auto &[utf8, name] : m_names) {
            if (utf8 == text) {
                out = name;
                return true;
            }
        }
        out = toQString(text);
        if (m_names.size() < limit)
            m_names.emplace_back(std::string(text), out);
        return true;
    }

private:
    static constexpr size_t limit = 64;
    std::vector<std::pair<std::string, QString>> m_names;
};

bool readOptionalString(element value, std::optional<QString> &out)
{
    if (value.is_null()) {
        out.reset();
        return true;
    }
    QString text;
    if (!readString(value, text))
        return false;
    out = std::move(text);
    return true;
}

bool readOptionalBytes(element value, std::optional<QByteArray> &out)
{
    if (value.is_null()) {
        out.reset();
        return true;
    }
    std::string_view text;
    if (value.get_string().get(text))
        return false;
    out = Base64::decode(text);
    return out.has_value();
}

bool readBool(element value, bool &out)
{
    return !value.get_bool().get(out);
}

bool readUuid(element value, QUuid &out)
{
    std::string_view text;
    if (value.get_string().get(text))
        return false;
    const std::optional<QUuid> id = ClippingJson::parseUuid(text);
    if (!id)
        return false;
    out = *id;
    return true;
}

bool readUuidList(element value, QList<QUuid> &out)
{
    simdjson::dom::array ids;
    if (value.get_array().get(ids))
        return false;
    out.clear();
    out.reserve(static_cast<qsizetype>(ids.size()));
    for (const element idValue : ids) {
        QUuid id;
        if (!readUuid(idValue, id))
            return false;
        out.append(id);
    }
    return true;
}

template <typename Enum, size_t N>
bool readEnum(element value, const std::array<Enum, N> &cases, Enum &out)
{
    std::string_view text;
    if (value.get_string().get(text))
        return false;
    for (const Enum candidate : cases) {
        if (rawValue(candidate) == QLatin1StringView(text.data(), qsizetype(text.size()))) {
            out = candidate;
            return true;
        }
    }
    return false;
}

// The keys of a clipping's record, in the order of itemKeys.
enum ItemKey : unsigned {
    Id,
    Type,
    Text,
    EncryptedPassword,
    Password,
    Masked,
    Kind,
    Rtf,
    Image,
    ImageDimensions,
    FileName,
    FilePath,
    UrlTitle,
    ColorHex,
    CalendarSchedule,
    AppName,
    BundleId,
    WindowTitle,
    Created,
    Favorite,
    Collections,
    RelativeTimeOverride,
    KeyCount,
};

constexpr std::array<std::string_view, KeyCount> itemKeys = {
    "id",
    "type",
    "textContent",
    "encryptedPasswordData",
    "isPassword",
    "isMasked",
    "richKind",
    "rtfData",
    "imageData",
    "imageDimensions",
    "fileName",
    "filePath",
    "urlTitle",
    "colorHex",
    "calendarSchedule",
    "sourceAppName",
    "sourceAppBundleID",
    "windowTitle",
    "createdAt",
    "isFavorite",
    "collectionIDs",
    "customRelativeTimeOverride",
};

constexpr unsigned bit(ItemKey key)
{
    return 1u << key;
}

constexpr unsigned requiredKeys = bit(Id) | bit(Type) | bit(Text) | bit(Password) | bit(Kind) |
                                  bit(AppName) | bit(BundleId) | bit(Created) | bit(Favorite) |
                                  bit(Collections);

bool readField(ItemKey key, element v, ClippingItem &item, SharedNames &names)
{
    switch (key) {
    case Id:
        return readUuid(v, item.id);
    case Type:
        return readEnum(v, allClippingTypes, item.type);
    case Text:
        return readString(v, item.textContent);
    case EncryptedPassword:
        return readOptionalBytes(v, item.encryptedPasswordData);
    case Password:
        return readBool(v, item.isPassword);
    case Masked: {
        bool masked = false;
        if (v.is_null())
            item.isMasked.reset();
        else if (!readBool(v, masked))
            return false;
        else
            item.isMasked = masked;
        return true;
    }
    case Kind:
        return readEnum(v, allRichContentKinds, item.richKind);
    case Rtf:
        return readOptionalBytes(v, item.rtfData);
    case Image:
        return readOptionalBytes(v, item.imageData);
    case ImageDimensions:
        return readOptionalString(v, item.imageDimensions);
    case FileName:
        return readOptionalString(v, item.fileName);
    case FilePath:
        return readOptionalString(v, item.filePath);
    case UrlTitle:
        return readOptionalString(v, item.urlTitle);
    case ColorHex:
        return readOptionalString(v, item.colorHex);
    case CalendarSchedule:
        return readOptionalString(v, item.calendarSchedule);
    case AppName:
        return names.read(v, item.sourceAppName);
    case BundleId:
        return names.read(v, item.sourceAppBundleID);
    case WindowTitle:
        return readOptionalString(v, item.windowTitle);
    case Created: {
        double seconds = 0;
        const bool ok = v.is_number() && !v.get_double().get(seconds);
        item.createdAt = Timestamp(seconds);
        return ok;
    }
    case Favorite:
        return readBool(v, item.isFavorite);
    case Collections:
        return readUuidList(v, item.collectionIDs);
    case RelativeTimeOverride:
        return readOptionalString(v, item.customRelativeTimeOverride);
    case KeyCount:
        break;
    }
    return false;
}

// A key given twice would make the record mean one thing to us and another to any other reader:
// a text that looks sealed here could stand in plain beside it.
class KeyOnce
{
public:
    bool first(std::string_view key)
    {
        if (std::find(m_seen.begin(), m_seen.end(), key) != m_seen.end())
            return false;
        m_seen.push_back(key);
        return true;
    }

private:
    std::vector<std::string_view> m_seen;
};

std::optional<ClippingItem> decodeItem(element value, SharedNames &names)
{
    simdjson::dom::object object;
    if (value.get_object().get(object))
        return std::nullopt;

    unsigned seen = 0;
    KeyOnce unknownKeys;
    ClippingItem item;
    for (const auto field : object) {
        const auto known = std::find(itemKeys.begin(), itemKeys.end(), field.key);
        if (known == itemKeys.end()) {
            if (!unknownKeys.first(field.key))
                return std::nullopt;
            continue;
        }
        const ItemKey key = ItemKey(known - itemKeys.begin());
        if ((seen & bit(key)) != 0 || !readField(key, field.value, item, names))
            return std::nullopt;
        seen |= bit(key);
    }
    if ((seen & requiredKeys) != requiredKeys)
        return std::nullopt;
    return item;
}

std::optional<ClippingCollection> decodeCollection(element value)
{
    simdjson::dom::object object;
    if (value.get_object().get(object))
        return std::nullopt;
    ClippingCollection collection;
    bool hasId = false;
    bool hasName = false;
    KeyOnce keys;
    for (const auto field : object) {
        bool ok = keys.first(field.key);
        if (field.key == "id") {
            ok = ok && readUuid(field.value, collection.id);
            hasId = true;
        } else if (field.key == "name") {
            ok = ok && readString(field.value, collection.name);
            hasName = true;
        }
        if (!ok)
            return std::nullopt;
    }
    if (!hasId || !hasName)
        return std::nullopt;
    return collection;
}

// Parses one record at a time where it lies in the text, so that the file as a whole may exceed
// the parser's size limit. The text must have the parser's padding behind it.
class RecordParser
{
public:
    explicit RecordParser(const char *json) : m_json(json) {}

    std::optional<element> parse(const StoreOutline::Span &span)
    {
        element root;
        if (m_parser.parse(m_json + span.begin, size_t(span.size()), false).get(root))
            return std::nullopt;
        return root;
    }

private:
    const char *m_json;
    simdjson::dom::parser m_parser;
};

unsigned hardwareThreads()
{
    return std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
}

// Where each run of records begins, and the end: runs of about equal bytes, none for a history
// too small to be worth a thread.
std::vector<qsizetype> runCuts(const QList<StoreOutline::Span> &spans, unsigned threads)
{
    constexpr qsizetype recordsPerThread = 512;
    const qsizetype runs =
        std::clamp<qsizetype>(spans.size() / recordsPerThread, 1, qsizetype(threads));
    std::vector<qsizetype> cuts{0};
    if (runs > 1) {
        const qsizetype bytes = spans.last().end - spans.first().begin;
        for (qsizetype i = 0; i < spans.size() && qsizetype(cuts.size()) < runs; ++i) {
            if ((spans[i].begin - spans.first().begin) * runs >= bytes * qsizetype(cuts.size()))
                cuts.push_back(i);
        }
    }
    cuts.push_back(spans.size());
    return cuts;
}

} // namespace

namespace ClippingJson
{

std::optional<QUuid> parseUuid(std::string_view text)
{
    if (text.size() != 36)
        return std::nullopt;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool hyphen = i == 8 || i == 13 || i == 18 || i == 23;
        if (hyphen ? text[i] != '-' : !isHex(text[i]))
            return std::nullopt;
    }
    return QUuid::fromString(QLatin1StringView(text.data(), 36));
}

QByteArray encode(const ClippingItem &item)
{
    rapidjson::StringBuffer buffer;
    encodeItem(buffer, item);
    return finish(buffer);
}

bool encodesAs(const ClippingItem &item, std::string_view json)
{
    MatchStream stream(json, false);
    encodeItem(stream, item);
    return stream.matches();
}

bool isAsEncoded(const ClippingItem &decoded, std::string_view json)
{
    MatchStream stream(json, true);
    encodeItem(stream, decoded);
    return stream.matches();
}

QByteArray encode(const ClippingCollection &collection)
{
    rapidjson::StringBuffer buffer;
    Encoder<rapidjson::StringBuffer> out(buffer);
    out.writer().StartObject();
    out.key("id");
    out.uuid(collection.id);
    out.string("name", collection.name);
    out.writer().EndObject();
    return finish(buffer);
}

std::optional<PersistedStore> decodeStore(const QByteArray &text,
                                          QList<StoreOutline::Span> *itemSpans)
{
    const qsizetype room = StoreOutline::roomAfter(text);
    if (room >= StoreOutline::paddingBytes)
        return decodePaddedStore(std::string_view(text.constData(), size_t(text.size())), room,
                                 itemSpans);
    // Records are parsed where they lie, which needs the parser's padding behind the text.
    QByteArray padded;
    padded.reserve(text.size() + StoreOutline::paddingBytes);
    padded.append(text);
    return decodePaddedStore(std::string_view(padded.constData(), size_t(padded.size())),
                             StoreOutline::roomAfter(padded), itemSpans);
}

std::optional<PersistedStore> decodePaddedStore(std::string_view json, qsizetype room,
                                                QList<StoreOutline::Span> *itemSpans,
                                                qsizetype itemsInFront)
{
    std::optional<StoreOutline::Outline> outline = StoreOutline::find(json, room);
    if (!outline)
        return std::nullopt;

    PersistedStore store;
    const qsizetype count = outline->items.size();
    // Reserved exactly: growing would round the block up to a power of two, and a clipping
    // weighs half a kilobyte before its text.
    store.items.reserve(itemsInFront + count);
    store.items.resize(itemsInFront + count);
    ClippingItem *const items = store.items.data() + itemsInFront;

    // Records are independent, so runs of them are decoded side by side, each with a parser of
    // its own; the runs are cut by size, since one image weighs as much as a thousand texts.
    const std::vector<qsizetype> cuts = runCuts(outline->items, hardwareThreads());
    std::atomic<bool> failed = false;
    const auto decodeRun = [&](qsizetype first, qsizetype last) {
        RecordParser parser(json.data());
        SharedNames names;
        for (qsizetype i = first; i < last && !failed.load(std::memory_order_relaxed); ++i) {
            const std::optional<element> root = parser.parse(outline->items[i]);
            std::optional<ClippingItem> item = root ? decodeItem(*root, names) : std::nullopt;
            if (!item) {
                failed = true;
                return;
            }
            items[i] = std::move(*item);
        }
    };
    {
        std::vector<std::jthread> helpers;
        for (size_t run = 1; run + 1 < cuts.size(); ++run)
            helpers.emplace_back(decodeRun, cuts[run], cuts[run + 1]);
        decodeRun(cuts[0], cuts[1]);
    }
    if (failed)
        return std::nullopt;
    // Removing from the front only moves where the list begins.
    store.items.remove(0, itemsInFront);

    RecordParser parser(json.data());
    for (const StoreOutline::Span &span : outline->collections) {
        const std::optional<element> root = parser.parse(span);
        std::optional<ClippingCollection> collection =
            root ? decodeCollection(*root) : std::nullopt;
        if (!collection)
            return std::nullopt;
        store.collections.append(std::move(*collection));
    }
    if (itemSpans)
        *itemSpans = std::move(outline->items);
    return store;
}

} // namespace ClippingJson
