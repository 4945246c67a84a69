#include "hotkeybindingpanel.h"

#include "keyboard/desktopshortcut.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{

QLabel *wrappedLabel(const QString &text)
{
    auto *label = new QLabel(text);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

} // namespace

HotKeyBindingPanel::HotKeyBindingPanel(DesktopShortcut &shortcut, const QString &desktop,
                                       QWidget *parent)
    : QWidget(parent), m_shortcut(&shortcut), m_desktop(desktop)
{
    setObjectName(QStringLiteral("hotKeyBinding"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 8);
    column->addWidget(wrappedLabel(
        tr("%1 lets no program register a key of its own. It can run quillstash --show-board "
           "when you press Ctrl+Alt+V, which does what the hot key does.")
            .arg(desktop)));
    m_status = wrappedLabel({});
    m_status->setObjectName(QStringLiteral("bindingStatus"));
    column->addWidget(m_status);
    auto *buttons = new QHBoxLayout;
    m_add = new QPushButton(tr("Add Ctrl+Alt+V to %1's keyboard shortcuts").arg(desktop));
    m_remove = new QPushButton(tr("Remove it from %1's keyboard shortcuts").arg(desktop));
    m_add->setObjectName(QStringLiteral("addShortcut"));
    m_remove->setObjectName(QStringLiteral("removeShortcut"));
    buttons->addWidget(m_add);
    buttons->addWidget(m_remove);
    buttons->addStretch();
    column->addLayout(buttons);
    connect(m_add, &QPushButton::clicked, this, [this] {
        if (!m_shortcut->add())
            m_status->setText(tr("%1's settings did not take the shortcut.").arg(m_desktop));
        else
            refresh();
    });
    connect(m_remove, &QPushButton::clicked, this, [this] {
        if (!m_shortcut->remove())
            m_status->setText(tr("%1's settings did not let it go.").arg(m_desktop));
        else
            refresh();
    });
    refresh();
}

HotKeyBindingPanel::HotKeyBindingPanel(const QString &explanation, const QString &line,
                                       QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("hotKeyBinding"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 8);
    column->addWidget(wrappedLabel(explanation));
    auto *row = new QHBoxLayout;
    auto *text = new QLineEdit(line);
    text->setObjectName(QStringLiteral("bindingLine"));
    text->setReadOnly(true);
    auto *copy = new QPushButton(tr("Copy"));
    connect(copy, &QPushButton::clicked, this,
            [line] { QApplication::clipboard()->setText(line); });
    row->addWidget(text, 1);
    row->addWidget(copy);
    column->addLayout(row);
}

void HotKeyBindingPanel::refresh()
{
    const bool available = m_shortcut->isAvailable();
    const bool added = available && m_shortcut->isAdded();
    m_add->setVisible(!added);
    m_add->setEnabled(available);
    m_remove->setVisible(added);
    m_status->setText(!available
                          ? tr("%1's shortcut settings are not installed here.").arg(m_desktop)
                      : added ? tr("Ctrl+Alt+V runs quillstash --show-board.")
                              : QString());
    m_status->setVisible(!m_status->text().isEmpty());
}
