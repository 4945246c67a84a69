#include "cardgridview.h"

#include "board/clipboardmanagerstate.h"
#include "cardcontextmenu.h"
#include "cardgridaccessible.h"
#include "views/cards/clippingcard.h"
#include "views/cards/screenfulbytes.h"
#include "views/foundation/theme.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QHelpEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <cmath>

namespace
{

constexpr int shortcutCount = 9;

} // namespace

CardGridView::CardGridView(ClipboardManagerState &state, QWidget *parent)
    : QAbstractScrollArea(parent), m_state(state),
      m_theme(&Theme::forAppearance(state.appearancePreference()))
{
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::NoFocus);
    viewport()->setAutoFillBackground(false);
    viewport()->setMouseTracking(true);
    // Before anything asks for the grid's interface, which Qt keeps once made.
    CardGridAccessible::install();
    setAccessibleName(tr("Clippings"));
    m_shown = shown();
    connect(&m_state, &ClipboardManagerState::changed, this, &CardGridView::stateChanged);
}

void CardGridView::setTheme(const Theme &theme)
{
    if (m_theme == &theme)
        return;
    m_theme = &theme;
    viewport()->update();
}

CardGridGeometry CardGridView::geometry() const
{
    return CardGridGeometry::forArea(QSizeF(viewport()->size()), m_state.gridRows(),
                                     m_state.gridColumns());
}

QRectF CardGridView::cardRect(qsizetype position) const
{
    const CardGridGeometry grid = geometry();
    const qsizetype row = position / grid.columns;
    const qsizetype column = position % grid.columns;
    const QSizeF size = grid.cardSize;
    return QRectF(CardGridGeometry::horizontalPadding +
                      double(column) * (size.width() + CardGridGeometry::spacing),
                  CardGridGeometry::verticalPadding +
                      double(row) * (size.height() + CardGridGeometry::spacing) -
                      verticalScrollBar()->value(),
                  size.width(), size.height());
}

std::optional<qsizetype> CardGridView::positionAt(QPointF point) const
{
    const CardGridGeometry grid = geometry();
    const double x = point.x() - CardGridGeometry::horizontalPadding;
    const double y = point.y() + verticalScrollBar()->value() - CardGridGeometry::verticalPadding;
    if (x < 0 || y < 0)
        return std::nullopt;
    const double columnStep = grid.cardSize.width() + CardGridGeometry::spacing;
    const double rowStep = grid.cardSize.height() + CardGridGeometry::spacing;
    const auto column = qsizetype(x / columnStep);
    const auto row = qsizetype(y / rowStep);
    // The gaps between cards belong to no card.
    if (column >= grid.columns || x - double(column) * columnStep > grid.cardSize.width() ||
        y - double(row) * rowStep > grid.cardSize.height())
        return std::nullopt;
    const qsizetype position = row * grid.columns + column;
    if (position >= m_state.visibleItemCount())
        return std::nullopt;
    return position;
}

void CardGridView::scrollToPosition(qsizetype position)
{
    const QRectF rect = cardRect(position);
    QScrollBar *bar = verticalScrollBar();
    const double height = viewport()->height();
    if (rect.top() < CardGridGeometry::verticalPadding)
        bar->setValue(bar->value() + qFloor(rect.top() - CardGridGeometry::verticalPadding));
    else if (rect.bottom() > height - CardGridGeometry::verticalPadding)
        bar->setValue(bar->value() +
                      qCeil(rect.bottom() - height + CardGridGeometry::verticalPadding));
}

CardGridView::Shown CardGridView::shown() const
{
    return Shown{
        m_state.visibleRevision(),      m_state.selectedItemID(),      m_state.gridRows(),
        m_state.gridColumns(),          m_state.isHoldingCommandKey(), m_state.isHoldingOptionKey(),
        m_state.fullCardColorPreview(), m_state.collections().size()};
}

std::optional<qsizetype> CardGridView::selectedPosition() const
{
    const std::optional<QUuid> selected = m_state.selectedItemID();
    if (!selected)
        return std::nullopt;
    const qsizetype count = m_state.visibleItemCount();
    for (qsizetype position = 0; position < count; ++position)
        if (m_state.visibleItem(position).id == *selected)
            return position;
    return std::nullopt;
}

void CardGridView::stateChanged()
{
    const Shown now = shown();
    if (now == m_shown)
        return;
    const bool layoutMoved = now.revision != m_shown.revision || now.rows != m_shown.rows ||
                             now.columns != m_shown.columns;
    const bool selectionMoved = now.selection != m_shown.selection;
    m_shown = now;
    if (layoutMoved) {
        updateScrollRange();
        if (QAccessible::isActive())
            if (auto *accessible =
                    static_cast<CardGridAccessible *>(QAccessible::queryAccessibleInterface(this)))
                accessible->forgetCards();
    }
    if (selectionMoved || layoutMoved)
        if (const std::optional<qsizetype> position = selectedPosition())
            scrollToPosition(*position);
    viewport()->update();
}

void CardGridView::updateScrollRange()
{
    const CardGridGeometry grid = geometry();
    const qsizetype count = m_state.visibleItemCount();
    const qsizetype rows = (count + grid.columns - 1) / grid.columns;
    const double content = 2 * CardGridGeometry::verticalPadding +
                           double(rows) * grid.cardSize.height() +
                           double(std::max<qsizetype>(rows - 1, 0)) * CardGridGeometry::spacing;
    QScrollBar *bar = verticalScrollBar();
    bar->setRange(0, std::max(0, qCeil(content - viewport()->height())));
    bar->setPageStep(viewport()->height());
    bar->setSingleStep(qRound(grid.cardSize.height() + CardGridGeometry::spacing));
}

void CardGridView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    // The card caches hold what this grid shows, not what the whole screen could.
    setScreenfulPixels(viewport()->size() * viewport()->devicePixelRatio());
    updateScrollRange();
}

void CardGridView::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    const qsizetype count = m_state.visibleItemCount();
    if (count == 0)
        return;
    const CardGridGeometry grid = geometry();
    const double rowStep = grid.cardSize.height() + CardGridGeometry::spacing;
    const double top = verticalScrollBar()->value() - CardGridGeometry::verticalPadding;
    const QRect dirty = event->rect();
    const auto firstRow =
        std::max<qsizetype>(0, qsizetype(std::floor((top + dirty.top()) / rowStep)));
    const auto lastRow = qsizetype(std::floor((top + dirty.bottom()) / rowStep));
    const Timestamp now = Timestamp::now();
    for (qsizetype row = firstRow; row <= lastRow; ++row) {
        for (int column = 0; column < grid.columns; ++column) {
            const qsizetype position = row * grid.columns + column;
            if (position >= count)
                return;
            const QRectF rect = cardRect(position);
            if (!rect.intersects(QRectF(dirty)))
                continue;
            const std::optional<int> shortcut =
                position < shortcutCount ? std::optional<int>(int(position) + 1) : std::nullopt;
            const ClippingCard::Input input = ClippingCard::input(
                m_state, m_state.visibleItem(position), rect, *m_theme, shortcut, now);
            ClippingCard::paint(painter, input);
            ++m_paintedCards;
        }
    }
}

void CardGridView::mousePressEvent(QMouseEvent *event)
{
    m_pressPoint.reset();
    m_pressPosition.reset();
    if (event->button() != Qt::LeftButton)
        return;
    const std::optional<qsizetype> position = positionAt(event->position());
    if (!position)
        return;
    m_pressPoint = event->position().toPoint();
    m_pressPosition = position;
}

void CardGridView::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_pressPoint || !(event->buttons() & Qt::LeftButton))
        return;
    if ((event->position().toPoint() - *m_pressPoint).manhattanLength() <
        QApplication::startDragDistance())
        return;
    const qsizetype position = *m_pressPosition;
    m_pressPoint.reset();
    m_pressPosition.reset();
    if (position >= m_state.visibleItemCount())
        return;
    const ClippingItem &item = m_state.visibleItem(position);
    auto *mime = new QMimeData;
    mime->setText(ClippingCard::dragText(item));
    auto *drag = new QDrag(this);
    drag->setMimeData(mime);
    const QRectF rect = cardRect(position);
    QPixmap picture = viewport()->grab(rect.toAlignedRect());
    drag->setPixmap(
        picture.scaled(picture.size() / 2, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    drag->exec(Qt::CopyAction);
}

void CardGridView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_pressPosition)
        return;
    const qsizetype position = *m_pressPosition;
    m_pressPoint.reset();
    m_pressPosition.reset();
    if (positionAt(event->position()) != position)
        return;
    const ClippingItem item = m_state.visibleItem(position);
    const ClippingCard::Input input =
        ClippingCard::input(m_state, item, cardRect(position), *m_theme);
    ClippingCard::click(m_state, item, ClippingCard::layout(input).hitTest(event->position()));
}

void CardGridView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const std::optional<qsizetype> position = positionAt(event->position());
    if (!position)
        return;
    const ClippingItem item = m_state.visibleItem(*position);
    const ClippingCard::Input input =
        ClippingCard::input(m_state, item, cardRect(*position), *m_theme);
    const CardLayout::Part part = ClippingCard::layout(input).hitTest(event->position());
    // A quick second click on a button is another click of the button, not a paste.
    if (part == CardLayout::Part::MaskButton || part == CardLayout::Part::CopyButton ||
        part == CardLayout::Part::FavoriteButton) {
        ClippingCard::click(m_state, item, part);
        return;
    }
    ClippingCard::doubleClick(m_state, item);
}

void CardGridView::contextMenuEvent(QContextMenuEvent *event)
{
    // Delivered through the viewport, in its coordinates.
    const std::optional<qsizetype> position = positionAt(event->pos());
    if (!position)
        return;
    const ClippingItem item = m_state.visibleItem(*position);
    // The menu acts on the card it opened on; the selection shows which one that is.
    m_state.setSelectedItemID(item.id);
    QMenu *menu = CardContextMenu::menu(CardContextMenu::entries(m_state, item), this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

bool CardGridView::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const std::optional<qsizetype> position = positionAt(help->pos());
        QString text;
        if (position) {
            const ClippingItem &item = m_state.visibleItem(*position);
            const ClippingCard::Input input =
                ClippingCard::input(m_state, item, cardRect(*position), *m_theme);
            text = ClippingCard::toolTip(ClippingCard::layout(input).hitTest(help->pos()), item,
                                         input.isMasked);
        }
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, viewport());
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}
