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

class StoreOutlineTest : public testing::TestWithParam<OutlineCase>
{
};

TEST_P(StoreOutlineTest, FindsTheRecordsOrRejectsTheFile)
{
    const OutlineCase &c = GetParam();
    const std::optional<StoreOutline::Outline> outline = StoreOutline::find(c.json);
    ASSERT_EQ(outline.has_value(), c.items.has_value());
    if (!outline)
        return;
    const auto texts = [&](const QList<StoreOutline::Span> &spans) {
        QList<QByteArray> out;
        for (const StoreOutline::Span &span : spans)
            out.append(c.json.mid(span.begin, span.size()));
        return out;
    };
    EXPECT_EQ(texts(outline->items), *c.items);
    EXPECT_EQ(texts(outline->collections), c.collections);
}

using Texts = QList<QByteArray>;

INSTANTIATE_TEST_SUITE_P(
    Files, StoreOutlineTest,
    testing::Values(
        OutlineCase{"empty", R"({"items":[],"collections":[]})", Texts{}},
        OutlineCase{"nested",
                    R"({"items":[{"a":{"b":[{}]}}, {"s":"}{]["}],"collections":[{"n":1}]})",
                    Texts{R"({"a":{"b":[{}]}})", R"({"s":"}{]["})"}, Texts{R"({"n":1})"}},
        OutlineCase{"spacedAndOtherKeys",
                    " {\"v\":[{\"x\":1}], \"collections\" : [ ] ,\"items\" : [ {} ] }\n",
                    Texts{"{}"}},
        OutlineCase{"escapedKey", R"({"\u0069tems":[{}],"collections":[]})", Texts{"{}"}},
        OutlineCase{"firstOfRepeatedKeys",
                    R"({"items":[{"first":1}],"items":[{"second":2}],"collections":[]})",
                    Texts{R"({"first":1})"}},
        OutlineCase{"zeroBytes", "", std::nullopt}, OutlineCase{"rootArray", "[]", std::nullopt},
        OutlineCase{"truncated", R"({"items":[{}],"collections":[])", std::nullopt},
        OutlineCase{"noCollections", R"({"items":[]})", std::nullopt},
        OutlineCase{"scalarItem", R"({"items":[1],"collections":[]})", std::nullopt},
        OutlineCase{"arrayItem", R"({"items":[[]],"collections":[]})", std::nullopt},
        OutlineCase{"itemsNotAnArrayFirst", R"({"items":{},"items":[],"collections":[]})",
                    std::nullopt},
        OutlineCase{"trailingGarbage", R"({"items":[],"collections":[]}x)", std::nullopt},
        OutlineCase{"zeroByteAfterRoot", QByteArray(R"({"items":[],"collections":[]})") + '\0',
                    std::nullopt},
        OutlineCase{"badUtf8", "{\"items\":[{\"t\":\"\xC3\x28\"}],\"collections\":[]}",
                    std::nullopt},
        OutlineCase{"deepNesting",
                    "{\"items\":[{\"a\":" + QByteArray(100000, '[') + QByteArray(100000, ']') +
                        "}],\"collections\":[]}",
                    Texts{"{\"a\":" + QByteArray(100000, '[') + QByteArray(100000, ']') + "}"}}),
    [](const testing::TestParamInfo<OutlineCase> &info) { return info.param.name; });

} // namespace
