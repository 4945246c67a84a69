#pragma once

#include <QAccessibleWidget>
#include <QHash>

class CardGridView;

// The card grid for screen readers: a list whose items are the visible cards, named by type,
// source and first line (masked secrets stay masked). Cards get an interface only when asked.
class CardGridAccessible final : public QAccessibleWidget
{
public:
    explicit CardGridAccessible(CardGridView *grid);
    ~CardGridAccessible() override;

    // Makes Qt use this interface for every card grid.
    static void install();

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;

    // The card interfaces stand for positions; a new list forgets them.
    void forgetCards();

private:
    CardGridView *grid() const;

    mutable QHash<int, QAccessible::Id> m_cards;
};
