#include "boardfixture.h"
#include "views/board/boardsettingsmenu.h"
#include "views/board/sidebarrowbutton.h"
#include "views/board/sidebarview.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <gtest/gtest.h>

namespace
{

class SidebarViewTest : public BoardFixture
{
protected:
    SidebarView &sidebar() { return *m_view->sidebar(); }

    QAbstractButton *button(const char *name)
    {
        return sidebar().findChild<QAbstractButton *>(QString::fromLatin1(name));
    }

    void createCollection(const QString &typed)
    {
        QTest::mouseClick(button("newCollectionButton"), Qt::LeftButton);
        ASSERT_TRUE(state().isCreatingCollection());
        auto *field = sidebar().findChild<QLineEdit *>(QStringLiteral("collectionNameField"));
        ASSERT_NE(field, nullptr);
        QTest::keyClicks(field, typed);
        QTest::keyClick(field, Qt::Key_Return);
    }

    void dropText(SidebarRowButton *row, const QString &text)
    {
        QMimeData mime;
        mime.setText(text);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(row, &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(row, &drop);
    }
};

TEST_F(SidebarViewTest, EmptyStoreListsPinnedAppsAndTypesWithoutBadges)
{
    makeBoard(0);
    state().clearContent(SidebarSelection::history());
    makeView();
    const QList<SidebarRowButton *> rows = sidebar().rows();
    // History, Favorites, the six pinned apps, the five types.
    // History, Favorites, the showcase's two empty collections, the six pinned apps, the five
    // types.
    ASSERT_EQ(rows.size(), 2 + 2 + 6 + 5);
    EXPECT_EQ(rows[4]->text(), QStringLiteral("Sketch"));
    for (SidebarRowButton *row : rows)
        EXPECT_EQ(row->badgeCount(), 0) << row->text().toStdString();
    EXPECT_TRUE(sidebar().row(SidebarSelection::history())->isSelected());
}

TEST_F(SidebarViewTest, ClickingARowChoosesItAndKeepsTheSearch)
{
    makeBoard(4);
    makeView();
    state().setSearchText(QStringLiteral("Clip"));
    SidebarRowButton *text = sidebar().row(SidebarSelection::type(ClippingType::Text));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->badgeCount(), 4);
    QTest::mouseClick(text, Qt::LeftButton);
    EXPECT_EQ(state().sidebarSelection(), SidebarSelection::type(ClippingType::Text));
    EXPECT_TRUE(text->isSelected());
    EXPECT_FALSE(sidebar().row(SidebarSelection::history())->isSelected());
    EXPECT_EQ(state().searchText(), QStringLiteral("Clip"));
    EXPECT_TRUE(state().selectedItemID());
}

struct NameCase {
    const char *typed;
    const char *created; // null: nothing
};

void PrintTo(const NameCase &c, std::ostream *os)
{
    *os << '"' << c.typed << '"';
}

class CollectionNameTest : public SidebarViewTest, public testing::WithParamInterface<NameCase>
{
};

TEST_P(CollectionNameTest, NamesAreTrimmedAndBlankNamesCreateNothing)
{
    makeBoard(1);
    makeView();
    createCollection(QString::fromUtf8(GetParam().typed));
    EXPECT_FALSE(state().isCreatingCollection());
    EXPECT_TRUE(state().newCollectionName().isEmpty());
    if (!GetParam().created) {
        EXPECT_TRUE(state().collections().isEmpty());
        return;
    }
    ASSERT_EQ(state().collections().size(), 1);
    EXPECT_EQ(state().collections().first().name, QString::fromUtf8(GetParam().created));
    EXPECT_NE(sidebar().row(SidebarSelection::collection(state().collections().first().id)),
              nullptr);
    EXPECT_EQ(state().sidebarSelection(), SidebarSelection::history());
}

INSTANTIATE_TEST_SUITE_P(Names, CollectionNameTest,
                         testing::Values(NameCase{"  Work  ", "Work"}, NameCase{"Ideas", "Ideas"},
                                         NameCase{"   ", nullptr}, NameCase{"", nullptr}));

TEST_F(SidebarViewTest, CancelLeavesCreationWithoutACollection)
{
    makeBoard(1);
    makeView();
    QTest::mouseClick(button("newCollectionButton"), Qt::LeftButton);
    QTest::keyClicks(sidebar().findChild<QLineEdit *>(QStringLiteral("collectionNameField")),
                     QStringLiteral("Draft"));
    QTest::mouseClick(button("cancelCollectionButton"), Qt::LeftButton);
    EXPECT_FALSE(state().isCreatingCollection());
    EXPECT_TRUE(state().newCollectionName().isEmpty());
    EXPECT_TRUE(state().collections().isEmpty());
}

TEST_F(SidebarViewTest, DropsAddClippingsOnceAndIgnoreOtherText)
{
    makeBoard(2);
    makeView();
    state().createCollection(QStringLiteral("Work"));
    const QUuid collection = state().collections().first().id;
    SidebarRowButton *row = sidebar().row(SidebarSelection::collection(collection));
    ASSERT_NE(row, nullptr);
    ASSERT_TRUE(row->acceptDrops());

    dropText(row, QStringLiteral("not a clipping id"));
    dropText(row, QUuid::createUuid().toString(QUuid::WithoutBraces));
    EXPECT_EQ(state().countForCollection(collection), 0);

    const QString id = state().items().first().id.toString(QUuid::WithoutBraces).toUpper();
    dropText(row, id);
    dropText(row, id);
    EXPECT_EQ(state().countForCollection(collection), 1);
    EXPECT_EQ(state().items().first().collectionIDs.size(), 1);
    EXPECT_EQ(row->badgeCount(), 1);
}

TEST_F(SidebarViewTest, DeletingTheChosenCollectionReturnsToHistory)
{
    makeBoard(2);
    makeView();
    state().createCollection(QStringLiteral("Work"));
    const QUuid collection = state().collections().first().id;
    QTest::mouseClick(sidebar().row(SidebarSelection::collection(collection)), Qt::LeftButton);
    ASSERT_EQ(state().sidebarSelection(), SidebarSelection::collection(collection));
    const QList<CardContextMenu::Entry> entries =
        SidebarView::menuEntries(state(), SidebarSelection::collection(collection));
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[2].title, QStringLiteral("Delete Collection \"Work\""));
    entries[2].action();
    EXPECT_TRUE(state().collections().isEmpty());
    EXPECT_EQ(state().sidebarSelection(), SidebarSelection::history());
    EXPECT_EQ(sidebar().row(SidebarSelection::collection(collection)), nullptr);
}

TEST_F(SidebarViewTest, MenuTitlesNameTheirEntry)
{
    makeBoard(1);
    const struct {
        SidebarSelection selection;
        const char *title;
    } cases[] = {
        {SidebarSelection::history(), "Clear Content"},
        {SidebarSelection::favorites(), "Clear Content"},
        {SidebarSelection::app(QStringLiteral("Slack")), "Clear \"Slack\" Content"},
        {SidebarSelection::type(ClippingType::Image), "Clear \"Image\" Content"},
    };
    for (const auto &c : cases) {
        const QList<CardContextMenu::Entry> entries =
            SidebarView::menuEntries(state(), c.selection);
        ASSERT_EQ(entries.size(), 1);
        EXPECT_EQ(entries[0].title, QString::fromUtf8(c.title));
        EXPECT_TRUE(entries[0].isDestructive);
    }
}

TEST_F(SidebarViewTest, ClearingAllRemovesFavouritesButClearHistoryKeepsThem)
{
    makeBoard(3);
    state().toggleFavorite(state().items().first());
    for (const CardContextMenu::Entry &entry : BoardSettingsMenu::entries(state()))
        if (entry.title == QStringLiteral("Clear History"))
            entry.action();
    EXPECT_EQ(state().items().size(), 1);
    SidebarView::menuEntries(state(), SidebarSelection::history()).first().action();
    EXPECT_TRUE(state().items().isEmpty());
}

} // namespace
