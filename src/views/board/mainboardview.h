#pragma once

#include <QList>
#include <QWidget>

class CardGridView;
class QAbstractButton;
class ClipboardManagerState;
class QKeyEvent;
class QLineEdit;
class QStackedWidget;
class QuickLookView;
class SidebarView;
struct Theme;

// The content of the board window: the sidebar, the command bar, the card grid or the empty
// state, the bottom bar with the count or the toast and the key hints, and Quick Look above all.
// It keeps nothing of its own: every change goes through the state, and it follows the state's
// changes.
class MainBoardView : public QWidget
{
    Q_OBJECT

public:
    explicit MainBoardView(ClipboardManagerState &state, QWidget *parent = nullptr);

    const Theme &theme() const { return *m_theme; }
    CardGridView *grid() const { return m_grid; }
    SidebarView *sidebar() const { return m_sidebar; }
    QuickLookView *quickLook() const { return m_quickLook; }
    QLineEdit *searchField() const { return m_search; }
    bool showsEmptyState() const;
    // The bottom bar's status: the toast while one shows, else the summary.
    QString statusText() const;

    // A key no command took and no field holds: printable text starts a search, Ctrl+F focuses
    // the search field. True when the key was used.
    bool typeToSearch(QKeyEvent *event);

protected:
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void refresh();
    QWidget *makeCommandBar();

    ClipboardManagerState &m_state;
    const Theme *m_theme;
    const Theme *m_paintedTheme = nullptr;
    SidebarView *m_sidebar = nullptr;
    QWidget *m_sidebarDivider = nullptr;
    QLineEdit *m_search = nullptr;
    QWidget *m_clearSearch = nullptr;
    // The layout presets' buttons, all of this file's own button type.
    QList<QAbstractButton *> m_presetButtons;
    QWidget *m_commandBar = nullptr;
    QWidget *m_bottomBar = nullptr;
    QStackedWidget *m_gridArea = nullptr;
    CardGridView *m_grid = nullptr;
    QWidget *m_emptyState = nullptr;
    QuickLookView *m_quickLook = nullptr;
};
