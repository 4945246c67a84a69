#pragma once

#include "board/cardgridgeometry.h"

#include <QAbstractScrollArea>
#include <QUuid>
#include <optional>

class ClipboardManagerState;
struct Theme;

// The board's cards: one scrolling surface over the visible clippings that paints only the cards
// in view and hit-tests their layout for clicks, double clicks, drags, tool tips and the menu.
class CardGridView : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit CardGridView(ClipboardManagerState &state, QWidget *parent = nullptr);

    void setTheme(const Theme &theme);

    CardGridGeometry geometry() const;
    // A card's rectangle in viewport coordinates (scrolling applied).
    QRectF cardRect(qsizetype position) const;
    std::optional<qsizetype> positionAt(QPointF viewportPoint) const;
    // Scrolls as little as needed to show the whole card.
    void scrollToPosition(qsizetype position);
    ClipboardManagerState &state() const { return m_state; }
    // Cards painted since the view was made.
    quint64 paintedCardCount() const { return m_paintedCards; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool viewportEvent(QEvent *event) override;

private:
    // What the painted cards depend on; a change of the state that moves none of it paints
    // nothing.
    struct Shown {
        quint64 revision = 0;
        std::optional<QUuid> selection;
        int rows = 0;
        int columns = 0;
        bool holdingCommand = false;
        bool holdingOption = false;
        bool fullCardColor = false;
        qsizetype collections = 0;
        bool operator==(const Shown &) const = default;
    };
    Shown shown() const;
    void stateChanged();
    void updateScrollRange();
    std::optional<qsizetype> selectedPosition() const;

    ClipboardManagerState &m_state;
    const Theme *m_theme;
    Shown m_shown;
    quint64 m_paintedCards = 0;
    std::optional<QPoint> m_pressPoint;
    std::optional<qsizetype> m_pressPosition;
};
