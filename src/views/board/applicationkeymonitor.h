#pragma once

#include "keyboard/localkeymonitor.h"

#include <QObject>

class QKeyEvent;
class QWidget;

// The key events of one window, the board, seen through an application-wide event filter
// before any of its widgets gets them. Keys typed into the program's other windows pass by
// untouched.
class ApplicationKeyMonitor final : public QObject, public LocalKeyMonitor
{
    Q_OBJECT

public:
    explicit ApplicationKeyMonitor(QWidget &window, QObject *parent = nullptr);

    void start(std::function<bool(const KeyPress &)> keyDown,
               std::function<void(const KeyModifiers &)> modifiersChanged) override;
    void clearTextFieldFocus() override;

    static KeyPress keyPressFromEvent(const QKeyEvent &event, bool textFieldFocused);
    // The modifiers held once the event has taken effect: Qt reports them as they were before
    // a modifier key's own press or release.
    static KeyModifiers modifiersAfterEvent(const QKeyEvent &event);
    static bool isModifierKey(int key);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool hasTextFieldFocus() const;

    QWidget &m_window;
    std::function<bool(const KeyPress &)> m_keyDown;
    std::function<void(const KeyModifiers &)> m_modifiersChanged;
};
