#include "cardgridaccessible.h"

#include "board/clipboardmanagerstate.h"
#include "cardgridview.h"
#include "views/cards/clippingcard.h"

#include <QScrollBar>

namespace
{

class CardAccessible final : public QAccessibleInterface
{
public:
    CardAccessible(CardGridView *grid, int position) : m_grid(grid), m_position(position) {}

    bool isValid() const override
    {
        return m_grid && m_position < m_grid->state().visibleItemCount();
    }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_grid ? m_grid->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override
    {
        return m_grid ? QAccessible::queryAccessibleInterface(m_grid) : nullptr;
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text kind) const override
    {
        if (kind != QAccessible::Name || !isValid())
            return QString();
        const ClippingItem &item = m_grid->state().visibleItem(m_position);
        return ClippingCard::accessibleName(item, m_grid->state().isTextMasked(item));
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override
    {
        if (!isValid())
            return QRect();
        const QRect local = m_grid->cardRect(m_position).toAlignedRect();
        return QRect(m_grid->viewport()->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.selectable = true;
        if (isValid())
            state.selected =
                m_grid->state().selectedItemID() == m_grid->state().visibleItem(m_position).id;
        const QRect local = isValid() ? m_grid->cardRect(m_position).toAlignedRect() : QRect();
        state.invisible = !m_grid || !m_grid->viewport()->rect().intersects(local);
        state.offscreen = state.invisible;
        return state;
    }

private:
    QPointer<CardGridView> m_grid;
    int m_position;
};

QAccessibleInterface *gridFactory(const QString &, QObject *object)
{
    if (auto *grid = qobject_cast<CardGridView *>(object))
        return new CardGridAccessible(grid);
    return nullptr;
}

} // namespace

CardGridAccessible::CardGridAccessible(CardGridView *grid)
    : QAccessibleWidget(grid, QAccessible::List, CardGridView::tr("Clippings"))
{
}

CardGridAccessible::~CardGridAccessible()
{
    forgetCards();
}

void CardGridAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(gridFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

CardGridView *CardGridAccessible::grid() const
{
    return static_cast<CardGridView *>(widget());
}

int CardGridAccessible::childCount() const
{
    return int(grid()->state().visibleItemCount());
}

QAccessibleInterface *CardGridAccessible::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    if (const auto found = m_cards.constFind(index); found != m_cards.cend())
        return QAccessible::accessibleInterface(*found);
    auto *card = new CardAccessible(grid(), index);
    m_cards.insert(index, QAccessible::registerAccessibleInterface(card));
    return card;
}

int CardGridAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    for (auto it = m_cards.cbegin(); it != m_cards.cend(); ++it)
        if (QAccessible::accessibleInterface(it.value()) == child)
            return it.key();
    return -1;
}

void CardGridAccessible::forgetCards()
{
    for (const QAccessible::Id id : std::as_const(m_cards))
        QAccessible::deleteAccessibleInterface(id);
    m_cards.clear();
}
