#pragma once

#include <QAbstractButton>
#include <functional>

struct Theme;

// One entry of the sidebar: icon, title and count badge, on the selection gradient while chosen.
// The whole row is the click target; it can offer a context menu and accept dropped text.
class SidebarRowButton : public QAbstractButton
{
    Q_OBJECT

public:
    // Draws the icon in its frame; the colour is the row's icon colour for its selection state.
    using IconPainter = std::function<void(QPainter &, const QRectF &frame, const QColor &colour)>;

    SidebarRowButton(const Theme *const &theme, QString title, IconPainter icon,
                     QWidget *parent = nullptr);

    void setBadgeCount(int count);
    int badgeCount() const { return m_badgeCount; }
    void setSelected(bool selected);
    bool isSelected() const { return m_isSelected; }
    // The icon's own colour while not selected; the theme's row icon colour when invalid.
    void setIconColour(const QColor &colour) { m_iconColour = colour; }

    std::function<void(const QPoint &globalPos)> onContextMenu;
    // Called with the text of a drop, once setAcceptsDroppedText(true).
    std::function<void(const QString &text)> onDropText;
    void setAcceptsDroppedText(bool accepts);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    const Theme *const &m_theme;
    IconPainter m_icon;
    QColor m_iconColour;
    int m_badgeCount = 0;
    bool m_isSelected = false;
    bool m_isDropTarget = false;
};
