#include "model/storeoutline.h"

#include <gtest/gtest.h>

namespace
{

struct OutlineCase {
    const char *name;
    QByteArray json;
    // The text of each span found, items then collections; nothing when the file is damaged.
    std::optional<QList<QByteArray>> items;
    QList<QByteArray> collections = {};
};

// Test names carry the rest.
void PrintTo(const OutlineCase &c, std::ostream *os)
{
    *os << c.name;
}

// The reader for huge files, and On-Demand over a copy or over the caller's spare capacity.
enum class Path { Reader, OnDemandCopy, OnDemandInPlace };

std::optional<StoreOutline::Outline> findThrough(Path path, const QByteArray &json)
{
    switch (path) {
    case Path::Reader:
        return StoreOutline::find(json, 0);
    case Path::OnDemandCopy:
        return StoreOutline::find(QByteArray::fromRawData(json.constData(), json.size()));
    case Path::OnDemandInPlace: {
        QByteArray padded;
        padded.reserve(json.size() + StoreOutline::paddingBytes);
        padded.append(json);
        return StoreOutline::find(padded);
    }
    }
    return std::nullopt;
}

std::string pathName(Path path)
{
    switch (path) {
    case Path::Reader:
        return "reader";
    case Path::OnDemandCopy:
        return "onDemandCopy";
    case Path::OnDemandInPlace:
        return "onDemandInPlace";
    }
    return {};
}

void PrintTo(Path path, std::ostream *os)
{
    *os << pathName(path);
}

QList<QByteArray> texts(const QByteArray &json, const QList<StoreOutline::Span> &spans)
{
    QList<QByteArray> out;
    for (const StoreOutline::Span &span : spans)
        out.append(json.mid(span.begin, span.size()));
    return out;
}

class StoreOutlineTest : public testing::TestWithParam<std::tuple<OutlineCase, Path>>
{
};

TEST_P(StoreOutlineTest, FindsTheRecordsOrRejectsTheFile)
{
    const auto &[c, path] = GetParam();
    const std::optional<StoreOutline::Outline> outline = findThrough(path, c.json);
    ASSERT_EQ(outline.has_value(), c.items.has_value());
    if (!outline)
        return;
    EXPECT_EQ(texts(c.json, outline->items), *c.items);
    EXPECT_EQ(texts(c.json, outline->collections), c.collections);
}

using Texts = QList<QByteArray>;

const QByteArray deepArray = QByteArray(100000, '[') + QByteArray(100000, ']');

INSTANTIATE_TEST_SUITE_P(
    Files, StoreOutlineTest,
    testing::Combine(
        testing::Values(
            OutlineCase{"empty", R"({"items":[],"collections":[]})", Texts{}},
            OutlineCase{"emptySpaced", "{\"items\":[ \n ],\"collections\":[\t]}", Texts{}},
            OutlineCase{"nested",
                        R"({"items":[{"a":{"b":[{}]}}, {"s":"}{]["}],"collections":[{"n":1}]})",
                        Texts{R"({"a":{"b":[{}]}})", R"({"s":"}{]["})"}, Texts{R"({"n":1})"}},
            OutlineCase{"spacedAndOtherKeys",
                        " {\"v\":[{\"x\":1}], \"collections\" : [ ] ,\"items\" : [ {} ] }\n",
                        Texts{"{}"}},
            OutlineCase{"spacesAroundRecords",
                        "{\"items\":[ {\"a\":1} \n, {} ],\"collections\":[\r\n{}\r\n]}",
                        Texts{R"({"a":1})", "{}"}, Texts{"{}"}},
            OutlineCase{"escapedKey", R"({"\u0069tems":[{}],"collections":[]})", Texts{"{}"}},
            OutlineCase{"escapedQuotesAndBraces",
                        R"({"items":[{"s":"\"}],{\"","}\"":"\\"},{"t":"\\\""}],"collections":[]})",
                        Texts{R"({"s":"\"}],{\"","}\"":"\\"})", R"({"t":"\\\""})"}},
            OutlineCase{"itemsInsideARecord",
                        R"({"items":[{"items":[{"x":1}],"collections":[]}],"collections":[]})",
                        Texts{R"({"items":[{"x":1}],"collections":[]})"}},
            OutlineCase{
                "itemsInsideAnUnknownField",
                R"({"v":{"items":[{"x":1}],"collections":[{}]},"items":[],"collections":[]})",
                Texts{}},
            OutlineCase{"unknownFieldsOfEveryKind",
                        R"({"o":{"a":[{"b":{}}],"c":"]"},"a":[[],{},"}"],"s":"x","n":-1.5e3,)"
                        R"("t":true,"f":false,"z":null,"items":[{}],"collections":[]})",
                        Texts{"{}"}},
            OutlineCase{"firstOfRepeatedKeys",
                        R"({"items":[{"first":1}],"items":[{"second":2}],"collections":[]})",
                        Texts{R"({"first":1})"}},
            OutlineCase{"repeatedKeyMayHoldAnything",
                        R"({"items":[{}],"items":[1],"collections":[],"collections":5})",
                        Texts{"{}"}},
            OutlineCase{"repeatedKeyMustBeJson",
                        R"({"items":[{}],"items":[1,,2],"collections":[]})", std::nullopt},
            OutlineCase{"zeroBytes", "", std::nullopt},
            OutlineCase{"whiteSpaceOnly", " \n", std::nullopt},
            OutlineCase{"rootArray", "[]", std::nullopt},
            OutlineCase{"rootScalar", "1", std::nullopt},
            OutlineCase{"byteOrderMark", "\xEF\xBB\xBF{\"items\":[],\"collections\":[]}",
                        std::nullopt},
            OutlineCase{"truncated", R"({"items":[{}],"collections":[])", std::nullopt},
            OutlineCase{"truncatedAfterRecord", R"({"items":[],"collections":[{}])", std::nullopt},
            OutlineCase{"truncatedMidRecord", R"({"items":[{"a":{"b":1}},{"a":)", std::nullopt},
            OutlineCase{"truncatedMidString", R"({"items":[{"a":"}]}],"collections":[]})",
                        std::nullopt},
            OutlineCase{"truncatedMidKey", R"({"items":[],"coll)", std::nullopt},
            OutlineCase{"unclosedArray", R"({"items":[{}],"collections":[{}})", std::nullopt},
            OutlineCase{"unclosedRecord", R"({"items":[{"a":1],"collections":[]})", std::nullopt},
            OutlineCase{"noCollections", R"({"items":[]})", std::nullopt},
            OutlineCase{"scalarItem", R"({"items":[1],"collections":[]})", std::nullopt},
            OutlineCase{"arrayItem", R"({"items":[[]],"collections":[]})", std::nullopt},
            OutlineCase{"nullCollection", R"({"items":[],"collections":[{},null]})", std::nullopt},
            OutlineCase{"stringItem", R"({"items":["{}"],"collections":[]})", std::nullopt},
            OutlineCase{"itemsNotAnArrayFirst", R"({"items":{},"items":[],"collections":[]})",
                        std::nullopt},
            OutlineCase{"collectionsNotAnArray", R"({"items":[],"collections":{}})", std::nullopt},
            OutlineCase{"trailingComma", R"({"items":[{},],"collections":[]})", std::nullopt},
            OutlineCase{"trailingFieldComma", R"({"items":[],"collections":[],})", std::nullopt},
            OutlineCase{"missingColon", R"({"items"[],"collections":[]})", std::nullopt},
            OutlineCase{"trailingGarbage", R"({"items":[],"collections":[]}x)", std::nullopt},
            OutlineCase{"secondRoot", R"({"items":[],"collections":[]} {})", std::nullopt},
            OutlineCase{"secondRootWithin", R"({"items":[],"collections":[]}{"items":[]})",
                        std::nullopt},
            OutlineCase{"zeroByteAfterRoot", QByteArray(R"({"items":[],"collections":[]})") + '\0',
                        std::nullopt},
            OutlineCase{"zeroByteInRecord",
                        QByteArray("{\"items\":[{\"t\":\"a\0b\"}],\"collections\":[]}", 37),
                        std::nullopt},
            OutlineCase{"lineBreakInRecordString",
                        "{\"items\":[{\"t\":\"a\nb\"}],\"collections\":[]}", std::nullopt},
            OutlineCase{"badUtf8", "{\"items\":[{\"t\":\"\xC3\x28\"}],\"collections\":[]}",
                        std::nullopt},
            OutlineCase{"badUtf8InUnknownField",
                        "{\"v\":[\"\xFF\"],\"items\":[],\"collections\":[]}", std::nullopt},
            OutlineCase{"badEscapeInKey", R"({"\q":1,"items":[],"collections":[]})", std::nullopt},
            OutlineCase{"badEscapeInUnknownField", R"({"v":"\q","items":[],"collections":[]})",
                        std::nullopt},
            OutlineCase{"badLiteralInUnknownField",
                        R"({"v":{"a":[tru]},"items":[],"collections":[]})", std::nullopt},
            OutlineCase{"badNumberInUnknownField", R"({"v":01,"items":[],"collections":[]})",
                        std::nullopt},
            OutlineCase{"numberRunningOnInUnknownField", R"({"v":1x,"items":[],"collections":[]})",
                        std::nullopt},
            OutlineCase{"missingCommaInUnknownField", R"({"v":[1 2],"items":[],"collections":[]})",
                        std::nullopt},
            OutlineCase{"missingValueInUnknownField", R"({"v":,"items":[],"collections":[]})",
                        std::nullopt},
            OutlineCase{"deepNesting", "{\"items\":[{\"a\":" + deepArray + "}],\"collections\":[]}",
                        Texts{"{\"a\":" + deepArray + "}"}},
            OutlineCase{"deepNestingInUnknownField",
                        "{\"v\":" + deepArray + ",\"items\":[{}],\"collections\":[]}",
                        Texts{"{}"}}),
        testing::Values(Path::Reader, Path::OnDemandCopy, Path::OnDemandInPlace)),
    [](const auto &info) {
        return std::string(std::get<0>(info.param).name) + "_" + pathName(std::get<1>(info.param));
    });

// Inside a record only the reader checks the grammar; On-Demand finds the record and leaves
// the rest to the record's own parse. The limit is where the reader takes over.
class MalformedRecordTest : public testing::TestWithParam<const char *>
{
};

TEST_P(MalformedRecordTest, IsLeftToTheRecordsParseBelowTheLimit)
{
    const QByteArray record = GetParam();
    const QByteArray json = "{\"items\":[" + record + "],\"collections\":[]}";
    EXPECT_FALSE(StoreOutline::find(json, json.size()));
    const std::optional<StoreOutline::Outline> outline = StoreOutline::find(json, json.size() + 1);
    ASSERT_TRUE(outline);
    EXPECT_EQ(texts(json, outline->items), Texts{record});
}

INSTANTIATE_TEST_SUITE_P(Records, MalformedRecordTest,
                         testing::Values(R"({"a":tru})", R"({"a":[1,,2]})", R"({"a":1 "b":2})",
                                         R"({"a":01})", R"({"a":"\q"})"));

} // namespace
