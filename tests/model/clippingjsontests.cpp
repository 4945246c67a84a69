#include "model/clippingjson.h"
#include "model/storeoutline.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace
{

ClippingItem fullItem()
{
    return ClippingItem{
        .id = QUuid::fromString(QStringLiteral("6f1c7a0e-3b2d-4c55-9a1e-0d2f3b4c5d6e")),
        .type = ClippingType::Image,
        .textContent = QStringLiteral("Quote \"this\" \\ \n\t\u0001 ünïcödé \U0001F600"),
        .encryptedPasswordData = QByteArray("\x00\x01\x02sealed", 9),
        .isPassword = true,
        .isMasked = false,
        .richKind = RichContentKind::CalendarEvent,
        .rtfData = QByteArray("{\\rtf1}"),
        .imageData = QByteArray(1000, '\xAB'),
        .imageDimensions = QStringLiteral("2 × 3 px"),
        .fileName = QStringLiteral("a.png"),
        .filePath = QStringLiteral("/tmp/"),
        .urlTitle = QStringLiteral("Title"),
        .colorHex = QStringLiteral("#FFFFFF"),
        .calendarSchedule = QStringLiteral("Scheduled: soon"),
        .sourceAppName = QStringLiteral("App"),
        .sourceAppBundleID = QStringLiteral("org.example.app"),
        .windowTitle = QStringLiteral("Window"),
        .createdAt = Timestamp(786123456.789012),
        .isFavorite = true,
        .collectionIDs = {QUuid::createUuid(), QUuid::createUuid()},
        .customRelativeTimeOverride = QStringLiteral("5s"),
    };
}

ClippingItem minimalItem()
{
    return ClippingItem{.id = QUuid::createUuid(),
                        .type = ClippingType::Text,
                        .textContent = QStringLiteral("plain"),
                        .sourceAppName = QStringLiteral("App"),
                        .sourceAppBundleID = QString(),
                        .createdAt = Timestamp(1.5)};
}

QByteArray storeJson(const QByteArray &itemJson)
{
    return "{\"items\":[" + itemJson + "],\"collections\":[]}";
}

// A valid clipping object with one key replaced (or removed when value is empty).
QByteArray itemWith(const QString &key, const QByteArray &value)
{
    QJsonObject object = QJsonDocument::fromJson(ClippingJson::encode(minimalItem())).object();
    object.remove(key);
    QByteArray json = QJsonDocument(object).toJson(QJsonDocument::Compact);
    if (!value.isEmpty())
        json.insert(1, "\"" + key.toUtf8() + "\":" + value + ",");
    return json;
}

TEST(ClippingJsonTest, RoundTripsEveryField)
{
    const ClippingItem item = fullItem();
    const auto store = ClippingJson::decodeStore(storeJson(ClippingJson::encode(item)));
    ASSERT_TRUE(store);
    ASSERT_EQ(store->items.size(), 1);
    EXPECT_EQ(store->items.first(), item);
}

TEST(ClippingJsonTest, WritesTheStoreForms)
{
    const QByteArray json = ClippingJson::encode(fullItem());
    EXPECT_TRUE(json.contains("\"id\":\"6F1C7A0E-3B2D-4C55-9A1E-0D2F3B4C5D6E\""));
    EXPECT_TRUE(json.contains("\"type\":\"Image\""));
    EXPECT_TRUE(json.contains("\"richKind\":\"calendarEvent\""));
    EXPECT_TRUE(json.contains("\"rtfData\":\"e1xydGYxfQ==\""));
    EXPECT_TRUE(json.contains("\"createdAt\":786123456.789012"));
    EXPECT_FALSE(json.contains('\n'));
    EXPECT_FALSE(json.contains("\": ")) << "compact";
}

// Only a record exactly as the encoder writes it may be kept as it stands in a file.
TEST(ClippingJsonTest, EncodesAsOnlyWhatEncodeWrites)
{
    ClippingItem item = fullItem();
    // Long enough to be compared in several pieces.
    item.imageData = QByteArray(200001, '\x5A');
    const QByteArray json = ClippingJson::encode(item);
    EXPECT_TRUE(ClippingJson::encodesAs(item, json.toStdString()));

    QByteArray lowerId = json;
    lowerId.replace("6F1C7A0E", "6f1c7a0e");
    QByteArray lastImageByte = json;
    lastImageByte[json.indexOf("\",\"imageDimensions\"") - 1] = 'B';
    QByteArray spaced = json;
    spaced.replace("\"isPassword\":", "\"isPassword\": ");
    QByteArray unknownKey = json;
    unknownKey.insert(1, "\"new\":1,");
    for (const QByteArray &other :
         {lowerId, lastImageByte, spaced, unknownKey, json.chopped(1), json + ' ', QByteArray()})
        EXPECT_FALSE(ClippingJson::encodesAs(item, other.toStdString()))
            << other.left(80).constData();

    // Stray bits in Base64's last group decode to the same bytes, but are not the encoder's form.
    ClippingItem small = minimalItem();
    small.imageData = QByteArray("A");
    const QByteArray canonical = ClippingJson::encode(small);
    const QByteArray stray = QByteArray(canonical).replace("\"QQ==\"", "\"QR==\"");
    for (const QByteArray &record : {canonical, stray}) {
        const auto store = ClippingJson::decodeStore(storeJson(record));
        ASSERT_TRUE(store);
        EXPECT_EQ(ClippingJson::isAsEncoded(store->items.first(), record.toStdString()),
                  record == canonical);
    }
}

TEST(ClippingJsonTest, LeavesOutAbsentOptionalFields)
{
    const QJsonObject object =
        QJsonDocument::fromJson(ClippingJson::encode(minimalItem())).object();
    const QStringList expected{"id",         "type",          "textContent",       "isPassword",
                               "richKind",   "sourceAppName", "sourceAppBundleID", "createdAt",
                               "isFavorite", "collectionIDs"};
    QStringList keys = object.keys();
    QStringList sortedExpected = expected;
    keys.sort();
    sortedExpected.sort();
    EXPECT_EQ(keys, sortedExpected);
}

TEST(ClippingJsonTest, ReadsLowerCaseIdsNullOptionalsAndUnknownKeys)
{
    const QByteArray json =
        R"({"id":"6f1c7a0e-3b2d-4c55-9a1e-0d2f3b4c5d6e","type":"URL","textContent":"t",)"
        R"("isPassword":false,"richKind":"plainText","sourceAppName":"A","sourceAppBundleID":"",)"
        R"("createdAt":12,"isFavorite":false,"collectionIDs":[],"urlTitle":null,"isMasked":null,)"
        R"("rtfData":null,"somethingNew":{"x":[1,2]}})";
    const auto store = ClippingJson::decodeStore(storeJson(json));
    ASSERT_TRUE(store);
    const ClippingItem &item = store->items.first();
    EXPECT_EQ(item.id, QUuid::fromString(QStringLiteral("6F1C7A0E-3B2D-4C55-9A1E-0D2F3B4C5D6E")));
    EXPECT_EQ(item.type, ClippingType::Url);
    EXPECT_FALSE(item.urlTitle);
    EXPECT_FALSE(item.isMasked);
    EXPECT_FALSE(item.rtfData);
    EXPECT_EQ(item.createdAt, Timestamp(12));
}

TEST(ClippingJsonTest, DecodingDoesNotNormaliseSecrets)
{
    QByteArray json = itemWith(QStringLiteral("isPassword"), "true");
    const auto store = ClippingJson::decodeStore(storeJson(json));
    ASSERT_TRUE(store);
    EXPECT_EQ(store->items.first().textContent, QStringLiteral("plain"));
    EXPECT_FALSE(store->items.first().isMasked);
    EXPECT_TRUE(store->items.first().isSecret());
}

class MissingKeyTest : public testing::TestWithParam<const char *>
{
};

TEST_P(MissingKeyTest, SpoilsTheWholeFile)
{
    EXPECT_FALSE(
        ClippingJson::decodeStore(storeJson(itemWith(QString::fromLatin1(GetParam()), {}))));
}

INSTANTIATE_TEST_SUITE_P(RequiredKeys, MissingKeyTest,
                         testing::Values("id", "type", "textContent", "isPassword", "richKind",
                                         "sourceAppName", "sourceAppBundleID", "createdAt",
                                         "isFavorite", "collectionIDs"));

struct BadValueCase {
    const char *name;
    const char *key;
    const char *value;
};

class BadValueTest : public testing::TestWithParam<BadValueCase>
{
};

TEST_P(BadValueTest, SpoilsTheWholeFile)
{
    const QByteArray json = itemWith(QString::fromLatin1(GetParam().key), GetParam().value);
    EXPECT_FALSE(ClippingJson::decodeStore(storeJson(json)));
}

INSTANTIATE_TEST_SUITE_P(
    Values, BadValueTest,
    testing::Values(BadValueCase{"unknownType", "type", "\"Sound\""},
                    BadValueCase{"typeCase", "type", "\"text\""},
                    BadValueCase{"unknownKind", "richKind", "\"poem\""},
                    BadValueCase{"uuidNoHyphens", "id", "\"6F1C7A0E3B2D4C559A1E0D2F3B4C5D6E\""},
                    BadValueCase{"uuidBraces", "id", "\"{6F1C7A0E-3B2D-4C55-9A1E-0D2F3B4C5D6E}\""},
                    BadValueCase{"uuidShort", "id", "\"6F1C7A0E-3B2D-4C55-9A1E-0D2F3B4C5D6\""},
                    BadValueCase{"uuidNotHex", "id", "\"6F1C7A0E-3B2D-4C55-9A1E-0D2F3B4C5D6G\""},
                    BadValueCase{"collectionUuid", "collectionIDs", "[\"nope\"]"},
                    BadValueCase{"base64Alphabet", "imageData", "\"ab$d\""},
                    BadValueCase{"base64Unpadded", "imageData", "\"YWJjZA\""},
                    BadValueCase{"base64LineBreak", "rtfData", "\"YWJj\\nZA==\""},
                    BadValueCase{"numberForString", "textContent", "42"},
                    BadValueCase{"stringForBool", "isFavorite", "\"true\""},
                    BadValueCase{"stringForDate", "createdAt", "\"2020-01-01\""},
                    BadValueCase{"nullRequired", "sourceAppName", "null"},
                    BadValueCase{"objectForList", "collectionIDs", "{}"},
                    BadValueCase{"numberForOptional", "urlTitle", "7"},
                    BadValueCase{"stringForMasked", "isMasked", "\"no\""},
                    // The outline leaves the grammar inside a record to the record's parse.
                    BadValueCase{"literalCutShort", "urlTitle", "nul"},
                    BadValueCase{"badEscape", "textContent", "\"\\q\""},
                    BadValueCase{"doubleCommaInUnknownKey", "extra", "[1,,2]"}),
    [](const auto &info) { return std::string(info.param.name); });

struct DuplicateKeyCase {
    const char *key;
    const char *first;
    const char *second;
};

class DuplicateKeyTest : public testing::TestWithParam<DuplicateKeyCase>
{
};

// A record read one way here and another way by any other reader: as sealed here, say, with the
// plain text beside it.
TEST_P(DuplicateKeyTest, SpoilsTheWholeFile)
{
    const DuplicateKeyCase c = GetParam();
    QByteArray json = itemWith(QString::fromLatin1(c.key), c.second);
    json.insert(1, "\"" + QByteArray(c.key) + "\":" + c.first + ",");
    EXPECT_FALSE(ClippingJson::decodeStore(storeJson(json)));
}

INSTANTIATE_TEST_SUITE_P(Keys, DuplicateKeyTest,
                         testing::Values(DuplicateKeyCase{"textContent", "\"hunter2\"", "\"\""},
                                         DuplicateKeyCase{"isMasked", "false", "true"},
                                         DuplicateKeyCase{"encryptedPasswordData", "null",
                                                          "\"AAEC\""},
                                         DuplicateKeyCase{"id",
                                                          "\"6F1C7A0E-3B2D-4C55-9A1E-"
                                                          "0D2F3B4C5D6E\"",
                                                          "\"6F1C7A0E-3B2D-4C55-9A1E-"
                                                          "0D2F3B4C5D6F\""},
                                         DuplicateKeyCase{"somethingNew", "1", "1"}));

class BadDocumentTest : public testing::TestWithParam<const char *>
{
};

TEST_P(BadDocumentTest, DoesNotDecode)
{
    EXPECT_FALSE(ClippingJson::decodeStore(QByteArray(GetParam())));
}

INSTANTIATE_TEST_SUITE_P(
    Documents, BadDocumentTest,
    testing::Values("", "not json", "[]", "{\"items\":[]}", "{\"collections\":[]}",
                    "{\"items\":{},\"collections\":[]}",
                    "{\"items\":[],\"collections\":[{\"id\":\"x\",\"name\":\"n\"}]}",
                    "{\"items\":[],\"collections\":[{\"name\":\"n\"}]}",
                    "{\"items\":[1],\"collections\":[]}", "{\"items\":[],\"collections\":[]",
                    "{\"items\":[],\"collections\":[{\"id\":\"6F1C7A0E-3B2D-4C55-9A1E-"
                    "0D2F3B4C5D6E\",\"name\":\"a\",\"name\":\"b\"}]}"));

TEST(ClippingJsonTest, KeepsFractionalSecondsExactly)
{
    for (const double seconds : {0.0, 0.1, 786123456.7890123, -12.25, 1e9 + 1.0 / 3.0}) {
        ClippingItem item = minimalItem();
        item.createdAt = Timestamp(seconds);
        const auto store = ClippingJson::decodeStore(storeJson(ClippingJson::encode(item)));
        ASSERT_TRUE(store);
        EXPECT_EQ(store->items.first().createdAt.secondsSinceReferenceDate(), seconds);
    }
}

TEST(ClippingJsonTest, CollectionsRoundTrip)
{
    const ClippingCollection collection =
        ClippingCollection::named(QStringLiteral("Snippets \"1\""));
    const QByteArray json =
        "{\"items\":[],\"collections\":[" + ClippingJson::encode(collection) + "]}";
    const auto store = ClippingJson::decodeStore(json);
    ASSERT_TRUE(store);
    ASSERT_EQ(store->collections.size(), 1);
    EXPECT_EQ(store->collections.first(), collection);
}

// Long histories are decoded in runs side by side; order, kept texts and one bad record anywhere
// must come out as from a single pass.
struct LongHistoryCase {
    qsizetype count;
    // Where a record that does not decode stands; none when negative.
    qsizetype bad;
    // Whether the text has free room behind it, as the store file reads it.
    bool padded;
};

void PrintTo(const LongHistoryCase &c, std::ostream *os)
{
    *os << c.count << " records, bad at " << c.bad << (c.padded ? ", padded" : "");
}

class LongHistoryTest : public testing::TestWithParam<LongHistoryCase>
{
};

TEST_P(LongHistoryTest, DecodesInOrderWithWhereEachRecordStands)
{
    const LongHistoryCase c = GetParam();
    QList<ClippingItem> items;
    QByteArrayList records;
    for (qsizetype i = 0; i < c.count; ++i) {
        ClippingItem item = minimalItem();
        // Every tenth one is big, so that runs cut by size differ from runs cut by count.
        item.textContent = QString(i % 10 == 0 ? 4000 : 10, QChar(char16_t(u'a' + i % 26)));
        items.append(item);
        records.append(i == c.bad ? itemWith(QStringLiteral("type"), "\"wrong\"")
                                  : ClippingJson::encode(item));
    }
    QByteArray json = "{\"items\":[" + records.join(',') + "],\"collections\":[]}";
    if (c.padded)
        json.reserve(json.size() + StoreOutline::paddingBytes);
    else
        json.squeeze();

    QList<StoreOutline::Span> spans;
    const std::optional<PersistedStore> store = ClippingJson::decodeStore(json, &spans);
    if (c.bad >= 0) {
        EXPECT_FALSE(store);
        return;
    }
    ASSERT_TRUE(store);
    EXPECT_EQ(store->items, items);
    ASSERT_EQ(spans.size(), c.count);
    for (qsizetype i = 0; i < c.count; ++i)
        EXPECT_EQ(json.mid(spans[i].begin, spans[i].size()), records[i]) << i;
}

INSTANTIATE_TEST_SUITE_P(
    Runs, LongHistoryTest,
    testing::Values(LongHistoryCase{0, -1, true}, LongHistoryCase{1, -1, false},
                    LongHistoryCase{1023, -1, true}, LongHistoryCase{1024, -1, false},
                    LongHistoryCase{5000, -1, true}, LongHistoryCase{5000, 0, true},
                    LongHistoryCase{5000, 2600, false}, LongHistoryCase{5000, 4999, true}));

} // namespace
