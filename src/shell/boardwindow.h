#pragma once

#include "capture/frontapplication.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QMargins>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>

class ClipboardManagerState;
class MainBoardView;
class WindowActivator;
class WindowManagerHints;

// The board's window: frameless, above other windows, on every desktop, resizable from its
// edges. It is made once and then only shown and hidden; on every hide but one for the
// preferences or about window the application that was in front before gets the focus back.
class BoardWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr QSize initialSize{960, 600};
    static constexpr QSize minimumBoardSize{580, 380};
    static constexpr qreal cornerRadius = 9;

    BoardWindow(ClipboardManagerState &state, FrontApplication &frontApplication,
                WindowActivator &activator, WindowManagerHints &hints, QWidget *parent = nullptr);

    MainBoardView *view() const { return m_view; }
    // The board's rounded frame inside the window.
    QRect boardRect() const { return rect().marginsRemoved(m_margins); }
    const std::optional<RunningApplication> &previousActiveApp() const
    {
        return m_previousActiveApp;
    }
    QDateTime lastResignKeyHideTime() const { return m_lastResignKeyHideTime; }

    void showMainWindow();
    // Hides and tells the state; the previous application gets the focus back unless told not.
    void hideMainWindow(bool returnFocus = true);
    void toggleMainWindow();
    // Only orders the window out, for callers that do the rest themselves (paste-back).
    void orderOut();
    void positionWindowFlushTopRight();
    // Draws the hidden board once where nobody sees it, so that the fonts, shaped texts and
    // card pictures of the first frame are made before the first show asks for them.
    void prepareFirstFrame();
    // The board lost the keyboard focus.
    void windowDidResignKey();

    // Set by the shell: the tray icon's area on screen (empty when unknown), whether the
    // preferences or about window is up, and hiding the preferences window.
    std::function<QRect()> statusItemGeometry;
    std::function<bool()> isAuxiliaryWindowVisible;
    std::function<void()> hidePreferencesWindow;

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Qt::Edges edgesAt(QPoint point) const;
    void takeHeldModifiers();
    void updateShape();
    void updateInputRegion();

    ClipboardManagerState &m_state;
    FrontApplication &m_frontApplication;
    WindowActivator &m_activator;
    WindowManagerHints &m_hints;
    MainBoardView *m_view = nullptr;
    QWidget *m_frame = nullptr;
    bool m_translucent = false;
    // Around the board, where a composited window draws its shadow; none without a compositor.
    QMargins m_margins;
    std::optional<RunningApplication> m_previousActiveApp;
    QDateTime m_lastResignKeyHideTime;
    // Asks the display for the held modifiers for a moment after showing, while any are held.
    QTimer m_modifierWatch;
    QElapsedTimer m_shownFor;
};
