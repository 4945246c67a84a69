#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QUuid>
#include <functional>

class ClipboardManagerState;
class QMenu;
class QWidget;
struct ClippingItem;

// The context menu of a card, built from the current state: first as plain entries (so the
// order and the actions can be checked without a screen), then as a QMenu.
class CardContextMenu
{
    Q_DECLARE_TR_FUNCTIONS(CardContextMenu)

public:
    struct Entry {
        enum class Kind { Action, Separator, Submenu };
        Kind kind = Kind::Action;
        QString title;
        QString symbol;
        bool isChecked = false; // a trailing check mark
        bool isDestructive = false;
        std::function<void()> action;
        QList<Entry> children; // submenu entries
    };

    static QList<Entry> entries(ClipboardManagerState &state, const ClippingItem &item);
    static QMenu *menu(const QList<Entry> &entries, QWidget *parent = nullptr);
};
