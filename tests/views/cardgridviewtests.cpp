#include "boardfixture.h"
#include "views/board/cardgridview.h"
#include "views/cards/clippingcard.h"

#include <QAccessible>
#include <QDrag>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace
{

class CardGridViewTest : public BoardFixture
{
protected:
    CardGridView &grid() { return *m_view->grid(); }

    QPoint centreOf(qsizetype position) { return grid().cardRect(position).center().toPoint(); }

    bool isWhollyVisible(qsizetype position)
    {
        const QRectF rect = grid().cardRect(position);
        return rect.top() >= 0 && rect.bottom() <= grid().viewport()->height();
    }
};

TEST_F(CardGridViewTest, TenThousandClippingsPaintOnlyTheVisibleCards)
{
    makeBoard(10000);
    makeView();
    const quint64 before = grid().paintedCardCount();
    grid().viewport()->grab();
    EXPECT_EQ(grid().paintedCardCount() - before, 9u);
    state().setGridRows(4);
    state().setGridColumns(4);
    grid().verticalScrollBar()->setValue(grid().verticalScrollBar()->maximum() / 2);
    const quint64 scrolled = grid().paintedCardCount();
    grid().viewport()->grab();
    // A scrolled 4 × 4 board shows parts of five rows.
    EXPECT_LE(grid().paintedCardCount() - scrolled, 20u);
    EXPECT_GE(grid().paintedCardCount() - scrolled, 16u);
}

TEST_F(CardGridViewTest, SelectionMovedByKeysStaysInView)
{
    makeBoard(10000);
    makeView();
    state().ensureValidSelection();
    const auto position = [this] {
        for (qsizetype i = 0; i < state().visibleItemCount(); ++i)
            if (state().visibleItem(i).id == state().selectedItemID())
                return i;
        return qsizetype(-1);
    };
    for (int step = 0; step < 40; ++step) {
        state().moveSelection(0, 1);
        ASSERT_TRUE(isWhollyVisible(position())) << step;
    }
    state().moveSelection(0, 100000);
    EXPECT_EQ(position(), 9999);
    EXPECT_TRUE(isWhollyVisible(9999));
    for (int step = 0; step < 5; ++step)
        state().moveSelection(0, -1);
    EXPECT_TRUE(isWhollyVisible(position()));
    state().moveSelection(0, -100000);
    EXPECT_EQ(grid().verticalScrollBar()->value(), 0);
}

TEST_F(CardGridViewTest, ClickSelectsAndDoubleClickActivates)
{
    makeBoard(12);
    makeView();
    std::optional<QUuid> activated;
    state().onRequestHideWindowAndPaste = [&](const ClippingItem &item, bool) {
        activated = item.id;
    };
    QTest::mouseClick(grid().viewport(), Qt::LeftButton, {}, centreOf(4));
    EXPECT_EQ(state().selectedItemID(), state().visibleItem(4).id);
    EXPECT_FALSE(activated);
    QTest::mouseDClick(grid().viewport(), Qt::LeftButton, {}, centreOf(5));
    EXPECT_EQ(activated, state().visibleItem(5).id);
    EXPECT_EQ(m_pasteboard.string(), state().visibleItem(5).textContent);
}

TEST_F(CardGridViewTest, HitTestLeavesGapsAndTheEndEmpty)
{
    makeBoard(4);
    makeView();
    EXPECT_EQ(grid().positionAt(grid().cardRect(3).center()), 3);
    const QRectF first = grid().cardRect(0);
    EXPECT_FALSE(grid().positionAt(QPointF(first.right() + 5, first.center().y())));
    EXPECT_FALSE(grid().positionAt(grid().cardRect(5).center()));
    EXPECT_FALSE(grid().positionAt(QPointF(2, 2)));
}

TEST_F(CardGridViewTest, CardSizeFollowsTheGeometry)
{
    makeBoard(4);
    makeView();
    QApplication::processEvents();
    const CardGridGeometry expected =
        CardGridGeometry::forArea(QSizeF(grid().viewport()->size()), 3, 3);
    EXPECT_EQ(grid().cardRect(0).size(), expected.cardSize);
    EXPECT_DOUBLE_EQ(grid().cardRect(1).left() - grid().cardRect(0).right(),
                     CardGridGeometry::spacing);
}

TEST_F(CardGridViewTest, RightClickOpensTheCardMenu)
{
    makeBoard(3);
    makeView();
    QContextMenuEvent event(QContextMenuEvent::Mouse, centreOf(1),
                            grid().viewport()->mapToGlobal(centreOf(1)));
    QApplication::sendEvent(grid().viewport(), &event);
    QMenu *menu = grid().findChild<QMenu *>();
    ASSERT_NE(menu, nullptr);
    EXPECT_FALSE(menu->actions().isEmpty());
    menu->close();
}

TEST_F(CardGridViewTest, DraggingACardOffersItsId)
{
    makeBoard(3);
    makeView();
    const QPoint start = centreOf(1);
    QTest::mousePress(grid().viewport(), Qt::LeftButton, {}, start);
    // Where the platform runs a drag loop, end it at once; the drag is deleted only later.
    QTimer::singleShot(0, &grid(), [] { QDrag::cancel(); });
    const QPoint moved = start + QPoint(QApplication::startDragDistance() + 4, 0);
    QMouseEvent move(QEvent::MouseMove, moved, grid().viewport()->mapToGlobal(moved), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid().viewport(), &move);
    const QDrag *drag = grid().findChild<QDrag *>();
    ASSERT_NE(drag, nullptr);
    EXPECT_EQ(drag->mimeData()->text(), ClippingCard::dragText(state().visibleItem(1)));
}

TEST_F(CardGridViewTest, CardsAreAccessibleChildrenWithMaskedNames)
{
    makeBoard(3, {secretClipping(QStringLiteral("hunter2"))});
    makeView();
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(&grid());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->role(), QAccessible::List);
    ASSERT_EQ(list->childCount(), 4);
    const QString secret = list->child(0)->text(QAccessible::Name);
    EXPECT_FALSE(secret.isEmpty());
    EXPECT_FALSE(secret.contains(QStringLiteral("hunter2")));
    EXPECT_TRUE(list->child(3)->text(QAccessible::Name).contains(QStringLiteral("Clipping 2")));
    EXPECT_EQ(list->indexOfChild(list->child(2)), 2);
    state().setSearchText(QStringLiteral("Clipping 1"));
    EXPECT_EQ(list->childCount(), 1);
}

} // namespace
