#pragma once

#include <QObject>
#include <memory>

class Clock;
class ClipboardManagerState;
class QMenu;
class QSystemTrayIcon;
class QTimer;
class StatusMenuTarget;

// The tray icon: a click toggles the board, the context menu (rebuilt from the state each time
// it opens) reaches the settings and the other windows.
class StatusBarController : public QObject
{
    Q_OBJECT

public:
    StatusBarController(ClipboardManagerState &state, StatusMenuTarget &target, const Clock &clock,
                        QObject *parent = nullptr);
    ~StatusBarController() override;

    // Puts the icon into the tray; without a tray it says so once on standard error and puts
    // the icon in when a tray appears.
    void install();

    // A left click: toggles the board, unless the click is the one that just made the board lose
    // the focus and hide itself.
    void statusBarButtonClicked();
    // The settings menu, as it is when shown: every call rebuilds it from the current state.
    QMenu *menu();
    QSystemTrayIcon *trayIcon() const { return m_trayIcon; }

    // How long after the board hid itself on losing the focus a click is taken to be the
    // click that did it.
    static constexpr double swallowSeconds = 0.25;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void rebuildMenu();
    void showWhenTrayAppears();
    // Until the tray host has placed the icon, for the panel behind it.
    void watchForEmbedding();
    // Light or dark by the panel, once the tray has placed the icon and when the desktop's
    // palette changes.
    void refreshIcon();

    ClipboardManagerState &m_state;
    StatusMenuTarget &m_target;
    const Clock &m_clock;
    std::unique_ptr<QMenu> m_menu;
    QSystemTrayIcon *m_trayIcon = nullptr;
    QTimer *m_trayWatch = nullptr;
    QTimer *m_embedWatch = nullptr;
    int m_embedChecks = 0;
    static constexpr int maxEmbedChecks = 40;
};
