#pragma once

#include "store/preferencestab.h"

#include <QWidget>
#include <array>

class ClipboardManagerState;
class LoginItem;
class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QStackedWidget;
class QToolButton;
struct Theme;

// The preferences window: three pages of controls, each bound to a setting of the state and
// taking effect at once. The selected page lives in the state, so it survives closing.
class PreferencesWindow : public QWidget
{
    Q_OBJECT

public:
    PreferencesWindow(ClipboardManagerState &state, LoginItem &loginItem,
                      QWidget *parent = nullptr);

    // Centres the window on its screen above other windows and gives it the keyboard.
    void present();
    // Put above the shortcut list: how to get the hot key where no program can register one.
    void setHotKeyHelp(QWidget *panel);

protected:
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QWidget *tabBar();
    QWidget *generalPage();
    QWidget *securityPage();
    QWidget *shortcutsPage();
    QWidget *stepper(const QString &caption, const QString &name, QLabel *&value,
                     QToolButton *&less, QToolButton *&more);
    void refresh();
    void applyTheme();

    ClipboardManagerState &m_state;
    LoginItem &m_loginItem;
    const Theme *m_theme = nullptr;

    std::array<QAbstractButton *, 3> m_tabButtons{};
    QStackedWidget *m_pages = nullptr;
    QLabel *m_rowsValue = nullptr;
    QToolButton *m_fewerRows = nullptr;
    QToolButton *m_moreRows = nullptr;
    QLabel *m_columnsValue = nullptr;
    QToolButton *m_fewerColumns = nullptr;
    QToolButton *m_moreColumns = nullptr;
    std::array<QAbstractButton *, 3> m_appearanceButtons{};
    QCheckBox *m_autoPaste = nullptr;
    QCheckBox *m_fullCardColor = nullptr;
    QCheckBox *m_startAtLogin = nullptr;
    QComboBox *m_resetPicker = nullptr;
    QCheckBox *m_ignorePasswords = nullptr;
    QComboBox *m_historyPicker = nullptr;
};
