#pragma once

#include <QWidget>

class DesktopShortcut;
class QLabel;
class QPushButton;

// Tells, on a desktop that lets no program register a key, how to bind the hot key command:
// with a button that adds it to the desktop's shortcuts where that can be done, else with the
// line to copy into the desktop's configuration.
class HotKeyBindingPanel : public QWidget
{
    Q_OBJECT

public:
    // With a shortcut the desktop can hold.
    HotKeyBindingPanel(DesktopShortcut &shortcut, const QString &desktop,
                       QWidget *parent = nullptr);
    // With a line for the user to put into the desktop's configuration.
    HotKeyBindingPanel(const QString &explanation, const QString &line, QWidget *parent = nullptr);

private:
    void refresh();

    DesktopShortcut *m_shortcut = nullptr;
    QString m_desktop;
    QLabel *m_status = nullptr;
    QPushButton *m_add = nullptr;
    QPushButton *m_remove = nullptr;
};
