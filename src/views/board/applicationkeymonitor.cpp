#include "applicationkeymonitor.h"

#include <QAbstractSpinBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWindow>

namespace
{

// Caps Lock in the X11 state mask that the xcb platform passes as native modifiers.
constexpr quint32 x11LockMask = 0x2;

bool capsLockOn(const QKeyEvent &event)
{
    return event.nativeModifiers() & x11LockMask;
}

Qt::KeyboardModifiers modifierOfKey(int key)
{
    switch (key) {
    case Qt::Key_Shift:
        return Qt::ShiftModifier;
    case Qt::Key_Control:
        return Qt::ControlModifier;
    case Qt::Key_Alt:
        return Qt::AltModifier;
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
        return Qt::MetaModifier;
    case Qt::Key_AltGr:
        return Qt::GroupSwitchModifier;
    default:
        return Qt::NoModifier;
    }
}

// What the key types with Shift applied and the other modifiers ignored. Qt's key code is the
// upper-case character for Latin-1 keys whatever Ctrl or Alt do to the text, so it is the
// better source there; other layouts' letters come from the text.
QString characterOf(const QKeyEvent &event)
{
    const int key = event.key();
    if (key >= 0x20 && key <= 0xff)
        return QString(QChar(key)).toLower();
    const QString text = event.text();
    if (text.isEmpty() || !text.front().isPrint())
        return QString();
    return text.toLower();
}

} // namespace

ApplicationKeyMonitor::ApplicationKeyMonitor(QWidget &window, QObject *parent)
    : QObject(parent), m_window(window)
{
}

void ApplicationKeyMonitor::start(std::function<bool(const KeyPress &)> keyDown,
                                  std::function<void(const KeyModifiers &)> modifiersChanged)
{
    m_keyDown = std::move(keyDown);
    m_modifiersChanged = std::move(modifiersChanged);
    QCoreApplication::instance()->installEventFilter(this);
}

void ApplicationKeyMonitor::clearTextFieldFocus()
{
    if (QWidget *focus = m_window.focusWidget())
        focus->clearFocus();
}

KeyPress ApplicationKeyMonitor::keyPressFromEvent(const QKeyEvent &event, bool textFieldFocused)
{
    return KeyPress{.key = event.key(),
                    .modifiers = {.modifiers = event.modifiers(), .capsLock = capsLockOn(event)},
                    .character = characterOf(event),
                    .textFieldFocused = textFieldFocused};
}

KeyModifiers ApplicationKeyMonitor::modifiersAfterEvent(const QKeyEvent &event)
{
    Qt::KeyboardModifiers modifiers = event.modifiers();
    const Qt::KeyboardModifiers own = modifierOfKey(event.key());
    if (event.type() == QEvent::KeyPress)
        modifiers |= own;
    else
        modifiers &= ~own;
    bool capsLock = capsLockOn(event);
    if (event.key() == Qt::Key_CapsLock && event.type() == QEvent::KeyPress)
        capsLock = !capsLock;
    return {.modifiers = modifiers, .capsLock = capsLock};
}

bool ApplicationKeyMonitor::isModifierKey(int key)
{
    return modifierOfKey(key) != Qt::NoModifier || key == Qt::Key_CapsLock ||
           key == Qt::Key_NumLock || key == Qt::Key_Hyper_L || key == Qt::Key_Hyper_R;
}

bool ApplicationKeyMonitor::hasTextFieldFocus() const
{
    QWidget *focus = m_window.focusWidget();
    return qobject_cast<QLineEdit *>(focus) || qobject_cast<QTextEdit *>(focus) ||
           qobject_cast<QPlainTextEdit *>(focus) || qobject_cast<QAbstractSpinBox *>(focus);
}

bool ApplicationKeyMonitor::eventFilter(QObject *watched, QEvent *event)
{
    // A key event reaches its window first and then the focused widget and its parents; the
    // board's window is where it is seen once and can still be kept from every widget.
    if ((event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) ||
        watched != m_window.windowHandle())
        return false;
    const auto &keyEvent = static_cast<const QKeyEvent &>(*event);
    if (isModifierKey(keyEvent.key())) {
        if (m_modifiersChanged && !keyEvent.isAutoRepeat())
            m_modifiersChanged(modifiersAfterEvent(keyEvent));
        return false;
    }
    if (event->type() != QEvent::KeyPress || !m_keyDown)
        return false;
    return m_keyDown(keyPressFromEvent(keyEvent, hasTextFieldFocus()));
}
