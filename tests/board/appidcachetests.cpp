#include "board/appidcache.h"

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

class AppIDCacheTest : public testing::TestWithParam<ChangeCase>
{
};

// However the history changed, and whether the ids were made before the change, or are being
// made elsewhere from the history as it was, the kept ids must be those of the clipping now at
// each place.
TEST_P(AppIDCacheTest, IDsFollowTheirClippings)
{
    for (const bool madeElsewhere : {false, true}) {
        QList<ClippingItem> items = numberedList(0, 60);
        AppIDCache cache;
        std::function<AppIDCache()> build;
        if (madeElsewhere)
            build = AppIDCache::builder(items, 1);
        else
            cache.update(items, 1);
        GetParam().change(items);
        if (build)
            cache = build();
        cache.update(items, 2);

        const std::optional<int> mailID = cache.appIDOf(QStringLiteral("mail"));
        ASSERT_TRUE(mailID);
        for (qsizetype index = 0; index < items.size(); ++index) {
            const std::optional<int> expected = cache.appIDOf(items[index].sourceAppName);
            ASSERT_TRUE(expected) << "at " << index;
            EXPECT_EQ(cache.appID(index), *expected) << "at " << index;
            EXPECT_EQ(cache.loweredAppName(cache.loweredAppID(index)),
                      items[index].sourceAppName.toLower())
                << "at " << index;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Changes, AppIDCacheTest,
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
        ChangeCase{"appChangedInPlace",
                   [](auto &items) { items[5].sourceAppName = QStringLiteral("Notes"); }},
        ChangeCase{"duplicateIDs",
                   [](auto &items) {
                       ClippingItem twin = items[3];
                       twin.sourceAppName = QStringLiteral("Notes");
                       items.insert(4, twin);
                   }}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
