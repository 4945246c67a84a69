#pragma once

#include <QAbstractButton>
#include <functional>

struct Theme;

// A square button of the board's bars: a rounded background and a drawn icon. It never takes
// the keyboard focus, so the board's key commands keep it.
class ToolbarButton : public QAbstractButton
{
    Q_OBJECT

public:
    using IconPainter = std::function<void(QPainter &painter, const QRectF &frame, const Theme &)>;

    ToolbarButton(const Theme *const &theme, QSize size, qreal radius, IconPainter icon,
                  QWidget *parent = nullptr);

    QSize sizeHint() const override { return m_size; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const Theme *const &m_theme;
    QSize m_size;
    qreal m_radius;
    IconPainter m_icon;
};
