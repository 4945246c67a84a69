#include "model/passwordcrypto.h"
#include "statefixture.h"
#include "store/vendoraddress.h"

#include <QFile>
#include <QImage>
#include <QSet>

namespace
{

class ShowcaseTest : public StateFixture
{
protected:
    QList<int> positionsWhere(const std::function<bool(const ClippingItem &)> &test) const
    {
        QList<int> positions;
        for (qsizetype i = 0; i < m_state->items().size(); ++i) {
            if (test(m_state->items()[i]))
                positions.append(int(i + 1));
        }
        return positions;
    }
    QList<int> membersOf(const QString &collectionName) const
    {
        for (const ClippingCollection &collection : m_state->collections()) {
            if (collection.name == collectionName)
                return positionsWhere([&](const ClippingItem &item) {
                    return item.collectionIDs.contains(collection.id);
                });
        }
        return {};
    }
    PersistedStore fileStore() const
    {
        QFile file(storePath());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return ClippingJson::decodeStore(file.readAll()).value_or(PersistedStore());
    }
    QStringList texts() const
    {
        QStringList list;
        for (const ClippingItem &item : m_state->items())
            list.append(item.resolvedText());
        return list;
    }
};

TEST_F(ShowcaseTest, AFreshStartShowsEveryKindOfCard)
{
    const ClipboardManagerState &state = makeState();
    ASSERT_EQ(state.items().size(), 12);
    QStringList collections;
    for (const ClippingCollection &collection : state.collections())
        collections.append(collection.name);
    EXPECT_EQ(collections, (QStringList{"Flat Colors", "Snippets"}));

    EXPECT_EQ(positionsWhere([](const ClippingItem &item) { return item.isFavorite; }),
              (QList<int>{1, 2, 4, 6, 8}));
    EXPECT_EQ(membersOf("Flat Colors"), (QList<int>{6, 10, 11}));
    EXPECT_EQ(membersOf("Snippets"), (QList<int>{1, 5, 9}));
    EXPECT_EQ(
        positionsWhere([](const ClippingItem &item) { return item.sourceAppName == u"Sketch"; }),
        (QList<int>{6, 10, 11}));
    EXPECT_EQ(state.selectedItemID(), state.items().first().id);
    EXPECT_EQ(fileStore().items, state.items()) << "the seeded history is saved";

    QSet<QUuid> ids;
    for (const ClippingItem &item : state.items())
        ids.insert(item.id);
    EXPECT_EQ(ids.size(), 12);
}

TEST_F(ShowcaseTest, AgesCountBackFromOneMomentAndShowFixedTexts)
{
    const ClipboardManagerState &state = makeState();
    const QList<double> secondsAgo{5, 60, 65, 900, 1260, 3600, 3660, 3700, 7200, 7300, 7400, 7500};
    const QStringList shown{"5s", "1m", "1m", "15m", "21m", "1h",
                            "1h", "1h", "2h", "1h",  "1h",  "31m"};
    for (qsizetype i = 0; i < state.items().size(); ++i) {
        const ClippingItem &item = state.items()[i];
        EXPECT_EQ(m_clock.now().secondsSince(item.createdAt), secondsAgo[i]) << i + 1;
        EXPECT_EQ(item.relativeTimeString(m_clock.now()), shown[i]) << i + 1;
    }
}

TEST_F(ShowcaseTest, TheSecretIsSealedAndOpensToItsText)
{
    const ClippingItem secret = makeState().items().at(6);
    EXPECT_TRUE(secret.isPassword);
    EXPECT_TRUE(secret.isSecret());
    EXPECT_TRUE(secret.textContent.isEmpty());
    ASSERT_TRUE(secret.encryptedPasswordData);
    EXPECT_EQ(PasswordCrypto::decrypt(*secret.encryptedPasswordData, testClippingKey()),
              QStringLiteral("TinyVaultWord42#"));
    EXPECT_FALSE(fileStore().items.isEmpty());
    QFile file(storePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_FALSE(file.readAll().contains("TinyVaultWord42#"));
}

TEST_F(ShowcaseTest, ContentOfTheSpecialCards)
{
    const QList<ClippingItem> items = makeState().items();
    EXPECT_EQ(items[0].textContent.size(), 549);
    EXPECT_EQ(items[1].type, ClippingType::Url);
    EXPECT_EQ(items[1].textContent, VendorAddress::webAddress().toString());
    EXPECT_TRUE(items[2].footerMetadataText().startsWith(u"...")) << "the long path is cut";
    EXPECT_EQ(items[3].textContent.split(u'\n'),
              (QStringList{"func sayHello(_ name: String?) {", "  if name != nil {",
                           "    let myString = \"Hello, \\(name!)\"", "    print(myString)", "  }",
                           "}"}));
    EXPECT_EQ(items[3].richKind, RichContentKind::CodeSnippet);
    EXPECT_TRUE(items[4].isLargeEmojiOnly());
    EXPECT_EQ(items[5].colorHex, QStringLiteral("#4FC2E7"));
    ASSERT_TRUE(items[7].imageData);
    EXPECT_EQ(QImage::fromData(*items[7].imageData, "png").size(), QSize(512, 512));
    EXPECT_EQ(items[8].richKind, RichContentKind::CoralHeadline);
    EXPECT_EQ(items[11].richKind, RichContentKind::CalendarEvent);
    EXPECT_EQ(items[11].calendarSchedule,
              QStringLiteral("Scheduled: 8 Nov 2018 at 11:00 to 12:00"));
}

TEST_F(ShowcaseTest, ResetReplacesTheHistoryWithFreshCopiesAndSaves)
{
    ClipboardManagerState &state = makeState();
    const QList<ClippingItem> first = state.items();
    const QStringList firstTexts = texts();
    state.insertNewItem(ClippingItem::make({.textContent = QStringLiteral("mine")}));
    state.setSearchText(QStringLiteral("zzz"));
    state.setSidebarSelection(SidebarSelection::favorites());

    state.waitForSaved();
    const QByteArray replaced = [this] {
        QFile file(storePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    m_clock.set(Timestamp::fromDateTime(QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7), Qt::UTC)));
    state.resetToShowcaseData();
    EXPECT_EQ(state.sidebarSelection(), SidebarSelection::history());
    EXPECT_EQ(state.searchText(), QString());
    EXPECT_EQ(state.selectedItemID(), state.items().first().id);
    EXPECT_EQ(texts(), firstTexts) << "the user's clipping is gone from the board";
    const QString keptName =
        StoreFile::fileName() + QStringLiteral(".before-demo-20260304T050607Z");
    QFile kept(m_directory.filePath(keptName));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), replaced) << "and kept beside the store";
    ASSERT_TRUE(state.statusToastMessage());
    EXPECT_TRUE(state.statusToastMessage()->contains(keptName));
    EXPECT_EQ(fileStore().items, state.items());
    EXPECT_EQ(fileStore().collections, state.collections());
    const QList<ClippingItem> second = state.items();

    state.resetToShowcaseData();
    EXPECT_EQ(texts(), firstTexts);
    for (qsizetype i = 0; i < 12; ++i) {
        EXPECT_NE(state.items()[i].id, first[i].id);
        EXPECT_NE(state.items()[i].id, second[i].id);
    }
    EXPECT_NE(state.items()[6].encryptedPasswordData, second[6].encryptedPasswordData);
    EXPECT_NE(state.collections().first().id, first.at(5).collectionIDs.first());
}

} // namespace
