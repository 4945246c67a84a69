#include "statusbarcontroller.h"

#include "artwork/appiconprovider.h"
#include "board/clipboardmanagerstate.h"
#include "model/clock.h"
#include "panelshade.h"
#include "statusmenutarget.h"
#include "views/foundation/keylabels.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTimer>
#include <cstdio>

namespace
{

QString withKeys(const QString &title, const QKeySequence &keys)
{
    return QStringLiteral("%1 (%2)").arg(title, KeyLabels::label(keys));
}

} // namespace

StatusBarController::StatusBarController(ClipboardManagerState &state, StatusMenuTarget &target,
                                         const Clock &clock, QObject *parent)
    : QObject(parent), m_state(state), m_target(target), m_clock(clock),
      m_menu(std::make_unique<QMenu>())
{
    m_menu->setObjectName(QStringLiteral("statusMenu"));
    m_menu->setTitle(tr("Quillstash Settings"));
    connect(m_menu.get(), &QMenu::aboutToShow, this, &StatusBarController::rebuildMenu);
    rebuildMenu();
}

StatusBarController::~StatusBarController() = default;

void StatusBarController::install()
{
    m_trayIcon = new QSystemTrayIcon(this);
    refreshIcon();
    qApp->installEventFilter(this);
    m_trayIcon->setToolTip(tr("Quillstash"));
    m_trayIcon->setContextMenu(m_menu.get());
    connect(m_trayIcon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason != QSystemTrayIcon::Trigger)
                    return;
                if (QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier))
                    m_menu->popup(QCursor::pos());
                else
                    statusBarButtonClicked();
            });
    m_trayIcon->show();
    m_embedWatch = new QTimer(this);
    m_embedWatch->setInterval(250);
    connect(m_embedWatch, &QTimer::timeout, this, [this] {
        // Hosts that draw the icon themselves never tell where it is.
        if (m_trayIcon->geometry().isEmpty() && ++m_embedChecks < maxEmbedChecks)
            return;
        m_embedWatch->stop();
        refreshIcon();
    });
    if (QSystemTrayIcon::isSystemTrayAvailable())
        watchForEmbedding();
    else
        showWhenTrayAppears();
}

void StatusBarController::watchForEmbedding()
{
    m_embedChecks = 0;
    m_embedWatch->start();
}

bool StatusBarController::eventFilter(QObject *watched, QEvent *event)
{
    // A new desktop theme brings a new palette, and often a panel of another shade.
    if (watched == qApp && event->type() == QEvent::ApplicationPaletteChange)
        refreshIcon();
    return QObject::eventFilter(watched, event);
}

void StatusBarController::refreshIcon()
{
    // An embedding tray host shows the panel behind the icon; others leave only the desktop's
    // setting to go by.
    const QRect area = m_trayIcon->geometry();
    std::optional<bool> dark;
    if (QScreen *screen = QGuiApplication::screenAt(area.center()); screen && !area.isEmpty()) {
        const QPoint corner = area.topLeft() - screen->geometry().topLeft();
        dark = PanelShade::isDark(
            screen->grabWindow(0, corner.x(), corner.y(), area.width(), area.height()).toImage());
    }
    const bool darkPanel = dark.value_or(PanelShade::isDark(QGuiApplication::palette()));
    m_trayIcon->setIcon(AppIconProvider::menuBarStatusIcon(PanelShade::ink(darkPanel)));
}

void StatusBarController::showWhenTrayAppears()
{
    std::fprintf(stderr,
                 "quillstash: no system tray is available; %s shows the board, and the icon "
                 "appears when a tray starts\n",
                 qPrintable(KeyLabels::label(KeyLabels::toggleBoard())));
    m_trayWatch = new QTimer(this);
    m_trayWatch->setInterval(2000);
    connect(m_trayWatch, &QTimer::timeout, this, [this] {
        if (!QSystemTrayIcon::isSystemTrayAvailable())
            return;
        m_trayWatch->stop();
        // The icon looks for a tray only when it is shown.
        m_trayIcon->hide();
        m_trayIcon->show();
        watchForEmbedding();
    });
    m_trayWatch->start();
}

void StatusBarController::statusBarButtonClicked()
{
    if (const std::optional<Timestamp> hidden = m_target.lastResignKeyHideTime();
        hidden && m_clock.now().secondsSince(*hidden) < swallowSeconds)
        return;
    if (m_target.isBoardVisible())
        m_target.hideMainWindow();
    else
        m_target.showMainWindow();
}

QMenu *StatusBarController::menu()
{
    rebuildMenu();
    return m_menu.get();
}

void StatusBarController::rebuildMenu()
{
    QMenu &menu = *m_menu;
    menu.clear();
    // The submenus belong to the menu; clearing leaves them behind.
    qDeleteAll(menu.findChildren<QMenu *>(Qt::FindDirectChildrenOnly));
    const auto ctrl = Qt::ControlModifier;

    menu.addAction(withKeys(m_target.isBoardVisible() ? tr("Hide Board") : tr("Show Board"),
                            KeyLabels::toggleBoard()),
                   this, [this] { m_target.toggleMainWindow(); });
    menu.addAction(tr("About Quillstash"), this, [this] { m_target.openAboutWindow(false); });
    menu.addAction(tr("Check for Updates..."), this, [this] { m_target.openAboutWindow(true); });
    QAction *preferences = menu.addAction(withKeys(tr("Preferences..."), KeyLabels::preferences()),
                                          this, [this] { m_target.openPreferencesWindow(); });
    preferences->setShortcut(KeyLabels::preferences());
    // The title names the keys already.
    preferences->setShortcutVisibleInContextMenu(false);
    menu.addAction(withKeys(m_state.isSidebarVisible() ? tr("Hide Sidebar") : tr("Show Sidebar"),
                            KeyLabels::toggleSidebar()),
                   this, [this] { m_state.setIsSidebarVisible(!m_state.isSidebarVisible()); });
    menu.addSeparator();

    const int rows = m_state.gridRows();
    const int columns = m_state.gridColumns();
    QMenu *grid = menu.addMenu(tr("Grid Layout (%1 × %2)").arg(rows).arg(columns));
    grid->setObjectName(QStringLiteral("gridMenu"));
    struct GridChoice {
        QString title;
        int rows;
        int columns;
    };
    for (const GridChoice &choice :
         {GridChoice{tr("3 × 3 Default Grid"), 3, 3}, GridChoice{tr("6 × 1 List Layout"), 6, 1},
          GridChoice{tr("4 × 4 Dense Grid"), 4, 4}}) {
        QAction *action = grid->addAction(choice.title, this, [this, choice] {
            m_state.setGridRows(choice.rows);
            m_state.setGridColumns(choice.columns);
        });
        action->setCheckable(true);
        action->setChecked(choice.rows == rows && choice.columns == columns);
    }

    QMenu *appearance = menu.addMenu(tr("Appearance"));
    appearance->setObjectName(QStringLiteral("appearanceMenu"));
    struct AppearanceChoice {
        QString title;
        AppearancePreference value;
    };
    for (const AppearanceChoice &choice :
         {AppearanceChoice{tr("Dark Mode"), AppearancePreference::Dark},
          AppearanceChoice{tr("Light Mode"), AppearancePreference::Light},
          AppearanceChoice{tr("Match System"), AppearancePreference::System}}) {
        QAction *action = appearance->addAction(
            choice.title, this, [this, choice] { m_state.setAppearancePreference(choice.value); });
        action->setCheckable(true);
        action->setChecked(choice.value == m_state.appearancePreference());
    }

    QAction *pause = menu.addAction(
        withKeys(m_state.isPaused() ? tr("Resume Quillstash") : tr("Pause Quillstash"),
                 KeyLabels::pause()),
        this, [this] { m_state.setIsPaused(!m_state.isPaused()); });
    pause->setShortcut(KeyLabels::pause());
    pause->setShortcutVisibleInContextMenu(false);
    menu.addSeparator();
    menu.addAction(tr("Restore Demo Clippings"), this, [this] { m_state.resetToShowcaseData(); });
    menu.addAction(tr("Clear History"), this, [this] { m_state.clearHistory(); });
    menu.addSeparator();
    QAction *quit = menu.addAction(tr("Quit Quillstash"), this, [this] { m_target.quit(); });
    quit->setShortcut(QKeySequence(ctrl | Qt::Key_Q));
}
