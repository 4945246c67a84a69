#include "cardcontextmenu.h"

#include "board/clipboardmanagerstate.h"
#include "model/clippingitem.h"
#include "views/foundation/keylabels.h"
#include "views/foundation/symbols.h"
#include "views/foundation/theme.h"

#include <QMenu>
#include <QPalette>

namespace
{

CardContextMenu::Entry action(QString title, QString symbol, std::function<void()> run)
{
    CardContextMenu::Entry entry;
    entry.title = std::move(title);
    entry.symbol = std::move(symbol);
    entry.action = std::move(run);
    return entry;
}

CardContextMenu::Entry separator()
{
    CardContextMenu::Entry entry;
    entry.kind = CardContextMenu::Entry::Kind::Separator;
    return entry;
}

QString withKey(const QString &title, const QKeySequence &keys)
{
    return QStringLiteral("%1 (%2)").arg(title, KeyLabels::label(keys));
}

// Names of collections and apps become entry titles: an "&" in them is no mnemonic.
QString escaped(QString title)
{
    return title.replace(u'&', QStringLiteral("&&"));
}

void addEntries(QMenu &menu, const QList<CardContextMenu::Entry> &entries)
{
    const QColor symbolColour = menu.palette().color(QPalette::Text);
    const Theme &theme = Theme::forDark(menu.palette().color(QPalette::Window).lightness() < 128);
    for (const CardContextMenu::Entry &entry : entries) {
        switch (entry.kind) {
        case CardContextMenu::Entry::Kind::Separator:
            menu.addSeparator();
            break;
        case CardContextMenu::Entry::Kind::Submenu: {
            QMenu *submenu = menu.addMenu(escaped(entry.title));
            // A popup is a window of its own and inherits no palette.
            submenu->setPalette(menu.palette());
            addEntries(*submenu, entry.children);
            break;
        }
        case CardContextMenu::Entry::Kind::Action: {
            const QColor colour = entry.isDestructive ? theme.red : symbolColour;
            QAction *item = menu.addAction(escaped(entry.title));
            // The style draws a checked entry's mark itself.
            if (!entry.symbol.isEmpty() && !entry.isChecked)
                item->setIcon(Symbols::icon(entry.symbol, colour));
            if (entry.isChecked) {
                item->setCheckable(true);
                item->setChecked(true);
            }
            const std::function<void()> run = entry.action;
            QObject::connect(item, &QAction::triggered, item, [run] {
                if (run)
                    run();
            });
            break;
        }
        }
    }
}

} // namespace

QList<CardContextMenu::Entry> CardContextMenu::entries(ClipboardManagerState &state,
                                                       const ClippingItem &item)
{
    ClipboardManagerState *s = &state;
    const ClippingItem copy = item;
    QList<Entry> list;
    list.append(action(withKey(tr("Paste / Restore"), KeyLabels::enter()),
                       QStringLiteral("doc.on.clipboard"),
                       [s, copy] { s->activateClipping(copy, false); }));
    list.append(action(withKey(tr("Copy"), KeyLabels::copy()), QStringLiteral("doc.on.doc"),
                       [s, copy] { s->copyToSystemPasteboard(copy, false); }));
    list.append(action(withKey(tr("Paste as Plain Text"), KeyLabels::pastePlainText()),
                       QStringLiteral("text.alignleft"),
                       [s, copy] { s->activateClipping(copy, true); }));
    list.append(separator());
    if (item.type == ClippingType::Text || item.isPassword) {
        const bool masked = state.isTextMasked(item);
        list.append(action(masked ? tr("Show Text") : tr("Hide / Mask Text"),
                           masked ? QStringLiteral("eye") : QStringLiteral("eye.slash"),
                           [s, copy] { s->toggleTextMask(copy); }));
    }
    list.append(action(item.isFavorite ? tr("Remove from Favorites") : tr("Add to Favorites"),
                       item.isFavorite ? QStringLiteral("heart.slash") : QStringLiteral("heart"),
                       [s, copy] { s->toggleFavorite(copy); }));
    if (!state.collections().isEmpty()) {
        Entry collections;
        collections.kind = Entry::Kind::Submenu;
        collections.title = tr("Collections");
        for (const ClippingCollection &collection : state.collections()) {
            const bool member = item.collectionIDs.contains(collection.id);
            const QUuid itemID = item.id;
            const QUuid collectionID = collection.id;
            Entry entry = action(collection.name, member ? QStringLiteral("checkmark") : QString(),
                                 [s, itemID, collectionID, member] {
                                     if (member)
                                         s->removeItemFromCollection(itemID, collectionID);
                                     else
                                         s->addItemToCollection(itemID, collectionID);
                                 });
            entry.isChecked = member;
            collections.children.append(entry);
        }
        list.append(collections);
    }
    list.append(action(withKey(tr("Quick Look"), KeyLabels::space()), QStringLiteral("eye"),
                       [s, copy] { s->setQuickLookItem(copy); }));
    if (item.type == ClippingType::Url)
        list.append(action(withKey(tr("Open URL"), KeyLabels::openUrl()), QStringLiteral("safari"),
                           [s, copy] {
                               s->setSelectedItemID(copy.id);
                               s->openSelectedItem();
                           }));
    if (item.type == ClippingType::File)
        list.append(action(withKey(tr("Show in File Manager"), KeyLabels::revealInFileManager()),
                           QStringLiteral("folder"), [s, copy] {
                               s->setSelectedItemID(copy.id);
                               s->revealSelectedItemInFinder();
                           }));
    list.append(separator());
    Entry remove = action(withKey(tr("Delete"), KeyLabels::backspace()), QStringLiteral("trash"),
                          [s, copy] { s->deleteItem(copy); });
    remove.isDestructive = true;
    list.append(remove);
    return list;
}

QMenu *CardContextMenu::menu(const QList<Entry> &entries, QWidget *parent)
{
    auto *result = new QMenu(parent);
    // The board's colours, not the desktop's: a popup is a window and inherits no palette.
    if (parent)
        result->setPalette(parent->palette());
    addEntries(*result, entries);
    return result;
}
