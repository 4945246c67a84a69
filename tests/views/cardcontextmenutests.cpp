#include "cardsamples.h"
#include "statefixture.h"
#include "views/board/cardcontextmenu.h"
#include "views/foundation/theme.h"

#include <QAction>
#include <QMenu>
#include <QPalette>
#include <gtest/gtest.h>

namespace
{

using Entry = CardContextMenu::Entry;

QStringList titles(const QList<Entry> &entries)
{
    QStringList result;
    for (const Entry &entry : entries)
        result.append(entry.kind == Entry::Kind::Separator ? QStringLiteral("—") : entry.title);
    return result;
}

const Entry &entryTitled(const QList<Entry> &entries, const QString &title)
{
    for (const Entry &entry : entries)
        if (entry.title == title)
            return entry;
    static const Entry none;
    ADD_FAILURE() << "no entry " << title.toStdString();
    return none;
}

class CardContextMenuTest : public StateFixture
{
protected:
    void SetUp() override
    {
        makeState();
        // Start from no collections at all, whatever the first start seeded.
        while (!state().collections().isEmpty())
            state().deleteCollection(state().collections().first());
    }

    ClippingItem insert(ClippingItem item)
    {
        state().insertNewItem(item);
        return state().items().first();
    }
    ClippingItem current(const QUuid &id)
    {
        for (const ClippingItem &item : state().items())
            if (item.id == id)
                return item;
        return {};
    }
};

} // namespace

TEST_F(CardContextMenuTest, EntriesInOrderForEachKindOfClipping)
{
    const QString common1 = QStringLiteral("Paste / Restore (Enter)");
    ClippingItem text = insert(textClipping(QStringLiteral("note")));
    ClippingItem link = textClipping(QStringLiteral("https://example.org"));
    link.type = ClippingType::Url;
    link = insert(link);
    ClippingItem file = textClipping(QStringLiteral("a.txt"));
    file.type = ClippingType::File;
    file.fileName = QStringLiteral("a.txt");
    file = insert(file);
    ClippingItem secret = insert(secretClipping(QStringLiteral("pw")));

    const QStringList head = {common1, QStringLiteral("Copy (Ctrl+C)"),
                              QStringLiteral("Paste as Plain Text (Ctrl+Shift+V)"),
                              QStringLiteral("—")};
    const QStringList tail = {QStringLiteral("—"), QStringLiteral("Delete (Backspace)")};
    const QString quickLook = QStringLiteral("Quick Look (Space)");
    const QString addFavourite = QStringLiteral("Add to Favorites");

    const auto expected = [&](const QStringList &middle) { return head + middle + tail; };
    const QStringList forText =
        expected({QStringLiteral("Hide / Mask Text"), addFavourite, quickLook});
    const QStringList forLink =
        expected({addFavourite, quickLook, QStringLiteral("Open URL (Ctrl+O)")});
    const QStringList forFile =
        expected({addFavourite, quickLook, QStringLiteral("Show in File Manager (Ctrl+Shift+R)")});
    const QStringList forSecret = expected({QStringLiteral("Show Text"), addFavourite, quickLook});
    EXPECT_EQ(titles(CardContextMenu::entries(state(), text)), forText);
    EXPECT_EQ(titles(CardContextMenu::entries(state(), link)), forLink);
    EXPECT_EQ(titles(CardContextMenu::entries(state(), file)), forFile);
    EXPECT_EQ(titles(CardContextMenu::entries(state(), secret)), forSecret);

    state().createCollection(QStringLiteral("Work"));
    state().createCollection(QStringLiteral("Ideas"));
    state().addItemToCollection(text.id, state().collections()[1].id);
    const QList<Entry> withCollections = CardContextMenu::entries(state(), current(text.id));
    const QStringList forMember = expected({QStringLiteral("Hide / Mask Text"), addFavourite,
                                            QStringLiteral("Collections"), quickLook});
    EXPECT_EQ(titles(withCollections), forMember);
    const Entry &collections = entryTitled(withCollections, QStringLiteral("Collections"));
    ASSERT_EQ(collections.kind, Entry::Kind::Submenu);
    ASSERT_EQ(collections.children.size(), 2);
    EXPECT_EQ(collections.children[0].title, state().collections()[0].name);
    EXPECT_FALSE(collections.children[0].isChecked);
    EXPECT_TRUE(collections.children[1].isChecked);
    EXPECT_EQ(collections.children[1].symbol, QStringLiteral("checkmark"));
    EXPECT_TRUE(withCollections.last().isDestructive);
    EXPECT_EQ(withCollections.last().symbol, QStringLiteral("trash"));
}

TEST_F(CardContextMenuTest, EachEntryCallsItsOperation)
{
    state().createCollection(QStringLiteral("Work"));
    ClippingItem link = textClipping(QStringLiteral("https://example.org/page"));
    link.type = ClippingType::Url;
    link = insert(link);
    insert(textClipping(QStringLiteral("other")));
    const QUuid work = state().collections().first().id;

    const auto run = [&](const QString &title) {
        entryTitled(CardContextMenu::entries(state(), current(link.id)), title).action();
    };
    const int writes = m_pasteboard.writes();
    run(QStringLiteral("Copy (Ctrl+C)"));
    EXPECT_GT(m_pasteboard.writes(), writes);

    run(QStringLiteral("Add to Favorites"));
    EXPECT_TRUE(current(link.id).isFavorite);
    run(QStringLiteral("Remove from Favorites"));
    EXPECT_FALSE(current(link.id).isFavorite);

    const Entry collections = entryTitled(CardContextMenu::entries(state(), current(link.id)),
                                          QStringLiteral("Collections"));
    collections.children.first().action();
    EXPECT_TRUE(current(link.id).collectionIDs.contains(work));
    entryTitled(CardContextMenu::entries(state(), current(link.id)), QStringLiteral("Collections"))
        .children.first()
        .action();
    EXPECT_FALSE(current(link.id).collectionIDs.contains(work));

    run(QStringLiteral("Quick Look (Space)"));
    ASSERT_TRUE(state().quickLookItem());
    EXPECT_EQ(state().quickLookItem()->id, link.id);

    run(QStringLiteral("Open URL (Ctrl+O)"));
    EXPECT_EQ(state().selectedItemID(), link.id);
    ASSERT_EQ(m_workspace.opened().size(), 1);
    EXPECT_EQ(m_workspace.opened().first(), QUrl(QStringLiteral("https://example.org/page")));

    bool pasted = false;
    state().onRequestHideWindowAndPaste = [&](const ClippingItem &item, bool) {
        pasted = item.id == link.id;
    };
    run(QStringLiteral("Paste / Restore (Enter)"));
    EXPECT_TRUE(pasted);

    run(QStringLiteral("Delete (Backspace)"));
    EXPECT_TRUE(current(link.id).id.isNull());
}

TEST_F(CardContextMenuTest, MaskAndRevealEntriesToggleTheSecret)
{
    ClippingItem text = insert(textClipping(QStringLiteral("plain words")));
    entryTitled(CardContextMenu::entries(state(), text), QStringLiteral("Hide / Mask Text"))
        .action();
    EXPECT_TRUE(state().isTextMasked(current(text.id)));
    entryTitled(CardContextMenu::entries(state(), current(text.id)), QStringLiteral("Show Text"))
        .action();
    EXPECT_FALSE(state().isTextMasked(current(text.id)));

    ClippingItem file = textClipping(QStringLiteral("notes.txt"));
    file.type = ClippingType::File;
    file.fileName = QStringLiteral("notes.txt");
    file.filePath = QStringLiteral("/tmp");
    file = insert(file);
    entryTitled(CardContextMenu::entries(state(), file),
                QStringLiteral("Show in File Manager (Ctrl+Shift+R)"))
        .action();
    EXPECT_EQ(state().selectedItemID(), file.id);
    EXPECT_EQ(m_workspace.revealed().size(), 1);
}

// In the board's colours, whatever the desktop's; an "&" in a name is shown, not a mnemonic.
TEST_F(CardContextMenuTest, MenuHasTheEntriesWithSymbolsInTheBoardsPaletteAndRunsThem)
{
    state().createCollection(QStringLiteral("R&D"));
    ClippingItem text = insert(textClipping(QStringLiteral("note")));
    const QList<Entry> entries = CardContextMenu::entries(state(), text);
    QWidget board;
    board.setPalette(Theme::dark().palette());
    std::unique_ptr<QMenu> menu(CardContextMenu::menu(entries, &board));
    const QColor boardWindow = Theme::dark().palette().color(QPalette::Window);
    EXPECT_EQ(menu->palette().color(QPalette::Window), boardWindow);
    const QList<QAction *> actions = menu->actions();
    ASSERT_EQ(actions.size(), entries.size());
    for (qsizetype i = 0; i < actions.size(); ++i) {
        EXPECT_EQ(actions[i]->isSeparator(), entries[i].kind == Entry::Kind::Separator);
        if (entries[i].kind == Entry::Kind::Action) {
            EXPECT_EQ(actions[i]->text(), entries[i].title);
            EXPECT_FALSE(actions[i]->icon().isNull()) << entries[i].title.toStdString();
        }
        if (entries[i].kind == Entry::Kind::Submenu) {
            QMenu *submenu = actions[i]->menu();
            ASSERT_TRUE(submenu);
            EXPECT_EQ(submenu->palette().color(QPalette::Window), boardWindow);
            ASSERT_EQ(submenu->actions().size(), 1);
            EXPECT_EQ(submenu->actions()[0]->text(), QStringLiteral("R&&D"));
        }
    }
    actions[5]->trigger(); // Add to Favorites
    EXPECT_TRUE(current(text.id).isFavorite);
}
