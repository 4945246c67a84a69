#include "clippingjson.h"

#include "base64.h"
#include "storeoutline.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>
#include <simdjson.h>
#include <thread>
#include <vector>

namespace
{

using Writer = rapidjson::Writer<rapidjson::StringBuffer>;
using simdjson::dom::element;

void writeKey(Writer &writer, std::string_view key)
{
    writer.Key(key.data(), static_cast<rapidjson::SizeType>(key.size()));
}

void writeString(Writer &writer, const QByteArray &utf8)
{
    writer.String(utf8.constData(), static_cast<rapidjson::SizeType>(utf8.size()));
}

void writeString(Writer &writer, std::string_view key, const QString &value)
{
    writeKey(writer, key);
    writeString(writer, value.toUtf8());
}

void writeString(Writer &writer, std::string_view key, const std::optional<QString> &value)
{
    if (value)
        writeString(writer, key, *value);
}

void writeBytes(Writer &writer, std::string_view key, const std::optional<QByteArray> &value)
{
    if (!value)
        return;
    writeKey(writer, key);
    // Base64 never needs escaping, so it skips the writer's character scan.
    const QByteArray quoted = '"' + Base64::encode(*value) + '"';
    writer.RawValue(quoted.constData(), static_cast<size_t>(quoted.size()), rapidjson::kStringType);
}

void writeBool(Writer &writer, std::string_view key, bool value)
{
    writeKey(writer, key);
    writer.Bool(value);
}

void writeUuid(Writer &writer, const QUuid &id)
{
    writeString(writer, id.toByteArray(QUuid::WithoutBraces).toUpper());
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

std::optional<ClippingItem> decodeItem(element value)
{
    simdjson::dom::object object;
    if (value.get_object().get(object))
        return std::nullopt;

    enum Required : unsigned {
        Id = 1u << 0,
        Type = 1u << 1,
        Text = 1u << 2,
        Password = 1u << 3,
        Kind = 1u << 4,
        AppName = 1u << 5,
        BundleId = 1u << 6,
        Created = 1u << 7,
        Favorite = 1u << 8,
        Collections = 1u << 9,
        All = (1u << 10) - 1,
    };
    unsigned seen = 0;
    ClippingItem item;
    for (const auto field : object) {
        const std::string_view key = field.key;
        const element v = field.value;
        bool ok = true;
        if (key == "id") {
            ok = readUuid(v, item.id);
            seen |= Id;
        } else if (key == "type") {
            ok = readEnum(v, allClippingTypes, item.type);
            seen |= Type;
        } else if (key == "textContent") {
            ok = readString(v, item.textContent);
            seen |= Text;
        } else if (key == "encryptedPasswordData") {
            ok = readOptionalBytes(v, item.encryptedPasswordData);
        } else if (key == "isPassword") {
            ok = readBool(v, item.isPassword);
            seen |= Password;
        } else if (key == "isMasked") {
            bool masked = false;
            if (v.is_null())
                item.isMasked.reset();
            else if ((ok = readBool(v, masked)))
                item.isMasked = masked;
        } else if (key == "richKind") {
            ok = readEnum(v, allRichContentKinds, item.richKind);
            seen |= Kind;
        } else if (key == "rtfData") {
            ok = readOptionalBytes(v, item.rtfData);
        } else if (key == "imageData") {
            ok = readOptionalBytes(v, item.imageData);
        } else if (key == "imageDimensions") {
            ok = readOptionalString(v, item.imageDimensions);
        } else if (key == "fileName") {
            ok = readOptionalString(v, item.fileName);
        } else if (key == "filePath") {
            ok = readOptionalString(v, item.filePath);
        } else if (key == "urlTitle") {
            ok = readOptionalString(v, item.urlTitle);
        } else if (key == "colorHex") {
            ok = readOptionalString(v, item.colorHex);
        } else if (key == "calendarSchedule") {
            ok = readOptionalString(v, item.calendarSchedule);
        } else if (key == "sourceAppName") {
            ok = readString(v, item.sourceAppName);
            seen |= AppName;
        } else if (key == "sourceAppBundleID") {
            ok = readString(v, item.sourceAppBundleID);
            seen |= BundleId;
        } else if (key == "windowTitle") {
            ok = readOptionalString(v, item.windowTitle);
        } else if (key == "createdAt") {
            double seconds = 0;
            ok = v.is_number() && !v.get_double().get(seconds);
            item.createdAt = Timestamp(seconds);
            seen |= Created;
        } else if (key == "isFavorite") {
            ok = readBool(v, item.isFavorite);
            seen |= Favorite;
        } else if (key == "collectionIDs") {
            ok = readUuidList(v, item.collectionIDs);
            seen |= Collections;
        } else if (key == "customRelativeTimeOverride") {
            ok = readOptionalString(v, item.customRelativeTimeOverride);
        }
        if (!ok)
            return std::nullopt;
    }
    if (seen != All)
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
    for (const auto field : object) {
        bool ok = true;
        if (field.key == "id") {
            ok = readUuid(field.value, collection.id);
            hasId = true;
        } else if (field.key == "name") {
            ok = readString(field.value, collection.name);
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
    explicit RecordParser(const QByteArray &json) : m_json(json) {}

    std::optional<element> parse(const StoreOutline::Span &span)
    {
        element root;
        if (m_parser.parse(m_json.constData() + span.begin, size_t(span.size()), false).get(root))
            return std::nullopt;
        return root;
    }

private:
    const QByteArray &m_json;
    simdjson::dom::parser m_parser;
};

// Records are parsed where they lie, which needs the parser's padding behind the text.
QByteArray withPadding(const QByteArray &json)
{
    if (StoreOutline::roomAfter(json) >= StoreOutline::paddingBytes)
        return json;
    QByteArray padded;
    padded.reserve(json.size() + StoreOutline::paddingBytes);
    padded.append(json);
    return padded;
}

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
    Writer writer(buffer);
    writer.StartObject();
    writeKey(writer, "id");
    writeUuid(writer, item.id);
    writeString(writer, "type", rawValue(item.type));
    writeString(writer, "textContent", item.textContent);
    writeBytes(writer, "encryptedPasswordData", item.encryptedPasswordData);
    writeBool(writer, "isPassword", item.isPassword);
    if (item.isMasked)
        writeBool(writer, "isMasked", *item.isMasked);
    writeString(writer, "richKind", rawValue(item.richKind));
    writeBytes(writer, "rtfData", item.rtfData);
    writeBytes(writer, "imageData", item.imageData);
    writeString(writer, "imageDimensions", item.imageDimensions);
    writeString(writer, "fileName", item.fileName);
    writeString(writer, "filePath", item.filePath);
    writeString(writer, "urlTitle", item.urlTitle);
    writeString(writer, "colorHex", item.colorHex);
    writeString(writer, "calendarSchedule", item.calendarSchedule);
    writeString(writer, "sourceAppName", item.sourceAppName);
    writeString(writer, "sourceAppBundleID", item.sourceAppBundleID);
    writeString(writer, "windowTitle", item.windowTitle);
    writeKey(writer, "createdAt");
    writer.Double(item.createdAt.secondsSinceReferenceDate());
    writeBool(writer, "isFavorite", item.isFavorite);
    writeKey(writer, "collectionIDs");
    writer.StartArray();
    for (const QUuid &id : item.collectionIDs)
        writeUuid(writer, id);
    writer.EndArray();
    writeString(writer, "customRelativeTimeOverride", item.customRelativeTimeOverride);
    writer.EndObject();
    return finish(buffer);
}

QByteArray encode(const ClippingCollection &collection)
{
    rapidjson::StringBuffer buffer;
    Writer writer(buffer);
    writer.StartObject();
    writeKey(writer, "id");
    writeUuid(writer, collection.id);
    writeString(writer, "name", collection.name);
    writer.EndObject();
    return finish(buffer);
}

std::optional<PersistedStore> decodeStore(const QByteArray &text, QByteArrayList *itemTexts,
                                          qsizetype keptTextLimit)
{
    const QByteArray json = withPadding(text);
    const std::optional<StoreOutline::Outline> outline = StoreOutline::find(json);
    if (!outline)
        return std::nullopt;

    PersistedStore store;
    const qsizetype count = outline->items.size();
    store.items.resize(count);
    QByteArrayList texts(itemTexts ? count : 0);
    ClippingItem *const items = store.items.data();
    QByteArray *const kept = itemTexts ? texts.data() : nullptr;

    // Records are independent, so runs of them are decoded side by side, each with a parser of
    // its own; the runs are cut by size, since one image weighs as much as a thousand texts.
    const std::vector<qsizetype> cuts = runCuts(outline->items, hardwareThreads());
    std::atomic<bool> failed = false;
    const auto decodeRun = [&](qsizetype first, qsizetype last) {
        RecordParser parser(json);
        for (qsizetype i = first; i < last && !failed.load(std::memory_order_relaxed); ++i) {
            const std::optional<element> root = parser.parse(outline->items[i]);
            std::optional<ClippingItem> item = root ? decodeItem(*root) : std::nullopt;
            if (!item) {
                failed = true;
                return;
            }
            items[i] = std::move(*item);
            const StoreOutline::Span &span = outline->items[i];
            if (kept && span.size() <= keptTextLimit)
                kept[i] = QByteArray(json.constData() + span.begin, span.size());
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

    RecordParser parser(json);
    for (const StoreOutline::Span &span : outline->collections) {
        const std::optional<element> root = parser.parse(span);
        std::optional<ClippingCollection> collection =
            root ? decodeCollection(*root) : std::nullopt;
        if (!collection)
            return std::nullopt;
        store.collections.append(std::move(*collection));
    }
    if (itemTexts)
        *itemTexts = std::move(texts);
    return store;
}

} // namespace ClippingJson
