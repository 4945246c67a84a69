#include "board/searchkeycache.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace
{

ClippingItem numbered(int number)
{
    return ClippingItem::make(
        {.textContent = QStringLiteral("Clipping %1").arg(number),
         .sourceAppName = number % 2 ? QStringLiteral("Mail") : QStringLiteral("MAIL"),
         .sourceAppBundleID = {},
         .windowTitle = QStringLiteral("Window %1").arg(number)});
}

QList<ClippingItem> numberedList(int first, int count)
{
    QList<ClippingItem> items;
    for (int number = first; number < first + count; ++number)
        items.append(numbered(number));
    return items;
}

struct ChangeCase {
    const char *name;
    std::function<void(QList<ClippingItem> &)> change;
};

class SearchKeyCacheTest : public testing::TestWithParam<ChangeCase>
{
};

// However the history changed, and whether the keys were wanted before the change, or are being
// made elsewhere from the history as it was, the kept keys must be those of the clipping now at
// each place.
TEST_P(SearchKeyCacheTest, KeysFollowTheirClippings)
{
    using Need = SearchKeyCache::Need;
    for (const std::optional<Need> before :
         {std::optional(Need::SearchKeys), std::optional(Need::AppIDs), std::optional<Need>()}) {
        QList<ClippingItem> items = numberedList(0, 60);
        SearchKeyCache cache;
        std::function<SearchKeyCache()> build;
        if (before)
            cache.update(items, 1, *before);
        else
            build = SearchKeyCache::builder(items, 1);
        GetParam().change(items);
        if (build)
            cache = build();
        const int mailID = *cache.appIDOf(QStringLiteral("mail"));
        cache.update(items, 2, Need::SearchKeys);

        for (qsizetype index = 0; index < items.size(); ++index) {
            QByteArray expected;
            ClippingSearchKeys::append(expected, items[index]);
            EXPECT_EQ(cache.keys(index).joined, expected) << "at " << index;
            EXPECT_EQ(cache.type(index), items[index].type);
            EXPECT_EQ(cache.appID(index), mailID);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Changes, SearchKeyCacheTest,
    testing::Values(
        ChangeCase{"oneNewFirst", [](auto &items) { items.prepend(numbered(100)); }},
        ChangeCase{"manyNewFirst",
                   [](auto &items) { items = numberedList(100, 20) + items.first(40); }},
        ChangeCase{"longRunRemoved", [](auto &items) { items.remove(10, 30); }},
        ChangeCase{"reversed", [](auto &items) { std::reverse(items.begin(), items.end()); }},
        ChangeCase{"shuffled",
                   [](auto &items) {
                       QRandomGenerator random(3);
                       std::shuffle(items.begin(), items.end(), random);
                   }},
        ChangeCase{"textChangedInPlace",
                   [](auto &items) { items[5].textContent = QStringLiteral("Edited"); }},
        ChangeCase{"becameSecret", [](auto &items) { items[7].isPassword = true; }},
        ChangeCase{"typeChanged", [](auto &items) { items[8].type = ClippingType::Url; }},
        ChangeCase{"duplicateIDs",
                   [](auto &items) {
                       ClippingItem twin = items[3];
                       twin.textContent.clear();
                       items.insert(4, twin);
                   }}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
