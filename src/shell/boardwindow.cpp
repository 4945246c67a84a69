#include "boardwindow.h"

#include "board/clipboardmanagerstate.h"
#include "boardplacement.h"
#include "capture/windowactivator.h"
#include "capture/windowmanagerhints.h"
#include "views/board/mainboardview.h"
#include "views/cards/cachedshadow.h"
#include "views/foundation/theme.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

namespace
{

// How far in from the window's edge a press resizes instead of reaching the board.
constexpr int resizeMargin = 5;
// The tray icon's click decides when the pointer is this close to it.
constexpr int statusItemSlack = 8;
// How long after showing, and how often, the held modifiers are asked of the display.
constexpr int modifierWatchMs = 1000;
constexpr int modifierWatchIntervalMs = 20;

// A frameless window gets no shadow from the window manager, so a composited board casts its
// own into a clear margin; the margin is deeper below, where the shadow falls.
constexpr QMargins shadowMargins{20, 14, 20, 26};
constexpr QPointF shadowOffset{0, 6};
constexpr qreal shadowBlur = 16;
const QColor shadowColour(0, 0, 0, 90);

// The rounded outline over the whole window: everything outside it is cleared (or masked away
// where nothing composites the window), the shadow drawn there and the thin border along it.
class RoundedFrame final : public QWidget
{
public:
    RoundedFrame(const MainBoardView &view, QMargins margins, QWidget *parent)
        : QWidget(parent), m_view(view), m_margins(margins)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF area = QRectF(rect()).marginsRemoved(m_margins.toMarginsF());
        QPainterPath outside;
        outside.addRect(QRectF(rect()));
        QPainterPath shape;
        shape.addRoundedRect(area, BoardWindow::cornerRadius, BoardWindow::cornerRadius);
        outside = outside.subtracted(shape);
        painter.setCompositionMode(QPainter::CompositionMode_Clear);
        painter.fillPath(outside, Qt::transparent);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        if (!m_margins.isNull()) {
            painter.save();
            painter.setClipPath(outside);
            CachedShadow::paint(painter, area, BoardWindow::cornerRadius, shadowColour,
                                shadowOffset, shadowBlur);
            painter.restore();
        }
        painter.setPen(QPen(m_view.theme().windowBorder, 0.8));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(area.adjusted(0.4, 0.4, -0.4, -0.4), BoardWindow::cornerRadius,
                                BoardWindow::cornerRadius);
    }

private:
    const MainBoardView &m_view;
    QMargins m_margins;
};

Qt::CursorShape cursorFor(Qt::Edges edges)
{
    if (edges == (Qt::TopEdge | Qt::LeftEdge) || edges == (Qt::BottomEdge | Qt::RightEdge))
        return Qt::SizeFDiagCursor;
    if (edges == (Qt::TopEdge | Qt::RightEdge) || edges == (Qt::BottomEdge | Qt::LeftEdge))
        return Qt::SizeBDiagCursor;
    if (edges & (Qt::LeftEdge | Qt::RightEdge))
        return Qt::SizeHorCursor;
    return Qt::SizeVerCursor;
}

} // namespace

BoardWindow::BoardWindow(ClipboardManagerState &state, FrontApplication &frontApplication,
                         WindowActivator &activator, WindowManagerHints &hints, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_state(state), m_frontApplication(frontApplication), m_activator(activator), m_hints(hints)
{
    setWindowTitle(tr("Quillstash"));
    setAccessibleName(tr("Quillstash board"));
    m_modifierWatch.setInterval(modifierWatchIntervalMs);
    connect(&m_modifierWatch, &QTimer::timeout, this, &BoardWindow::takeHeldModifiers);
    m_translucent = m_hints.hasCompositingManager();
    if (m_translucent) {
        setAttribute(Qt::WA_TranslucentBackground);
        m_margins = shadowMargins;
    }
    setMinimumSize(minimumBoardSize.grownBy(m_margins));
    resize(initialSize.grownBy(m_margins));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(m_margins);
    m_view = new MainBoardView(state, this);
    layout->addWidget(m_view);
    m_frame = new RoundedFrame(*m_view, m_margins, this);
    m_frame->raise();
    connect(&m_state, &ClipboardManagerState::isWindowAnchoredChanged, m_frame,
            qOverload<>(&QWidget::update));
    qApp->installEventFilter(this);
    positionWindowFlushTopRight();
}

void BoardWindow::showMainWindow()
{
    if (hidePreferencesWindow)
        hidePreferencesWindow();
    const std::optional<RunningApplication> front = m_frontApplication.frontmostApplication();
    if (front && front->processId != QCoreApplication::applicationPid())
        m_previousActiveApp = front;

    m_shownFor.start();
    takeHeldModifiers();
    m_state.handleWindowShown();
    if (!m_state.isWindowAnchored())
        positionWindowFlushTopRight();

    // Before the window is shown: activation would give the focus back to the field that
    // held it when the board hid.
    if (QWidget *focus = focusWidget())
        focus->clearFocus();
    show();
    raise();
    updateInputRegion();
    m_hints.showOnAllDesktops(winId());
    activateWindow();
    m_activator.activate(winId());
}

void BoardWindow::hideMainWindow(bool returnFocus)
{
    m_state.handleWindowHidden();
    orderOut();
    if (returnFocus && m_previousActiveApp)
        m_activator.activate(m_previousActiveApp->windowId);
}

void BoardWindow::toggleMainWindow()
{
    if (isVisible())
        hideMainWindow();
    else
        showMainWindow();
}

void BoardWindow::orderOut()
{
    hide();
}

void BoardWindow::positionWindowFlushTopRight()
{
    QScreen *screen = nullptr;
    if (statusItemGeometry) {
        const QRect item = statusItemGeometry();
        if (!item.isEmpty())
            screen = QGuiApplication::screenAt(item.center());
    }
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen && !QGuiApplication::screens().isEmpty())
        screen = QGuiApplication::screens().constFirst();
    if (!screen)
        return;
    const QPoint board =
        BoardPlacement::flushTopRight(screen->availableGeometry(), size().shrunkBy(m_margins));
    move(board - QPoint(m_margins.left(), m_margins.top()));
}

void BoardWindow::prepareFirstFrame()
{
    if (isVisible())
        return;
    ensurePolished();
    if (QLayout *board = layout())
        board->activate();
    QImage picture(size() * devicePixelRatio(), QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(devicePixelRatio());
    picture.fill(Qt::transparent);
    render(&picture);
}

void BoardWindow::windowDidResignKey()
{
    if (!isVisible() || m_state.isWindowAnchored())
        return;
    if (isAuxiliaryWindowVisible && isAuxiliaryWindowVisible())
        return;
    if (statusItemGeometry) {
        const QRect item = statusItemGeometry();
        if (!item.isEmpty() &&
            item.adjusted(-statusItemSlack, -statusItemSlack, statusItemSlack, statusItemSlack)
                .contains(QCursor::pos()))
            return;
    }
    m_lastResignKeyHideTime = QDateTime::currentDateTimeUtc();
    hideMainWindow();
}

void BoardWindow::takeHeldModifiers()
{
    // Asked of the display rather than taken from key events: the keys of the hot key are often
    // let go just before or after the board has the focus, and their release then goes to
    // another window. Until they are let go, or for a moment, the display is asked again.
    const Qt::KeyboardModifiers held = QGuiApplication::queryKeyboardModifiers();
    m_state.setIsHoldingCommandKey(held.testFlag(Qt::ControlModifier) &&
                                   !held.testFlag(Qt::AltModifier));
    m_state.setIsHoldingOptionKey(held.testFlag(Qt::AltModifier));
    const bool watching = (held & (Qt::ControlModifier | Qt::AltModifier)) &&
                          m_shownFor.isValid() && m_shownFor.elapsed() < modifierWatchMs;
    if (!watching)
        m_modifierWatch.stop();
    else if (!m_modifierWatch.isActive())
        m_modifierWatch.start();
}

bool BoardWindow::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        takeHeldModifiers();
    if (event->type() == QEvent::WindowDeactivate)
        windowDidResignKey();
    return QWidget::event(event);
}

void BoardWindow::keyPressEvent(QKeyEvent *event)
{
    if (!m_view->typeToSearch(event))
        QWidget::keyPressEvent(event);
}

void BoardWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_frame->setGeometry(rect());
    updateShape();
}

void BoardWindow::updateShape()
{
    if (m_translucent) {
        updateInputRegion();
        return;
    }
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
    setMask(QRegion(shape.toFillPolygon().toPolygon()));
}

void BoardWindow::updateInputRegion()
{
    // Presses on the shadow reach the window below it, as on a shadow the desktop draws.
    if (!m_translucent || !internalWinId())
        return;
    const QRectF board = QRectF(boardRect());
    const qreal ratio = devicePixelRatioF();
    m_hints.setInputRegion(internalWinId(),
                           QRectF(board.topLeft() * ratio, board.size() * ratio).toAlignedRect());
}

Qt::Edges BoardWindow::edgesAt(QPoint point) const
{
    const QRect board = boardRect();
    Qt::Edges edges;
    if (point.x() < board.left() + resizeMargin)
        edges |= Qt::LeftEdge;
    if (point.x() > board.right() - resizeMargin)
        edges |= Qt::RightEdge;
    if (point.y() < board.top() + resizeMargin)
        edges |= Qt::TopEdge;
    if (point.y() > board.bottom() - resizeMargin)
        edges |= Qt::BottomEdge;
    return edges;
}

bool BoardWindow::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove)
        return false;
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != this)
        return false;
    const auto *mouse = static_cast<QMouseEvent *>(event);
    const Qt::Edges edges = edgesAt(mapFromGlobal(mouse->globalPosition().toPoint()));
    if (type == QEvent::MouseMove) {
        if (mouse->buttons() == Qt::NoButton) {
            if (edges)
                setCursor(cursorFor(edges));
            else
                unsetCursor();
        }
        return false;
    }
    if (!edges || mouse->button() != Qt::LeftButton || !windowHandle())
        return false;
    return windowHandle()->startSystemResize(edges);
}
