#include "sidebarview.h"

#include "artwork/appiconprovider.h"
#include "board/clipboardmanagerstate.h"
#include "sidebarrowbutton.h"
#include "toolbarbutton.h"
#include "views/foundation/symbols.h"
#include "views/foundation/theme.h"
#include "views/foundation/viewfonts.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>

namespace
{

constexpr int headerLogoSide = 30;

struct TypeIcon {
    const char *symbol;
    QColor Theme::*colour;
};

TypeIcon typeIcon(ClippingType type)
{
    switch (type) {
    case ClippingType::Image:
        return {"photo.fill", &Theme::purple};
    case ClippingType::Color:
        return {"paintpalette.fill", &Theme::orange};
    case ClippingType::File:
        return {"doc.fill", &Theme::cyan};
    case ClippingType::Text:
        return {"text.alignleft", &Theme::green};
    case ClippingType::Url:
        break;
    }
    return {"link", &Theme::blue};
}

// The logo, the name and whether capture runs.
class SidebarHeader final : public QWidget
{
public:
    SidebarHeader(ClipboardManagerState &state, const Theme *const &theme)
        : m_state(state), m_theme(theme)
    {
        setFixedHeight(52);
        const qreal ratio = 2;
        m_logo = AppIconProvider::drawBrandLogoImage(128, 1).scaled(
            QSize(headerLogoSide, headerLogoSide) * ratio, Qt::KeepAspectRatio,
            Qt::SmoothTransformation);
        m_logo.setDevicePixelRatio(ratio);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        const Theme &theme = *m_theme;
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF logo(14, (height() - headerLogoSide) / 2.0, headerLogoSide, headerLogoSide);
        // A soft shadow: the logo's own shape, darkened and spread a little below it.
        painter.setPen(Qt::NoPen);
        for (int step = 3; step >= 1; --step) {
            painter.setBrush(QColor::fromRgbF(0, 0, 0, float(0.06)));
            painter.drawRoundedRect(logo.adjusted(-step * 0.6, step * 0.8, step * 0.6, step * 1.2),
                                    8, 8);
        }
        painter.drawImage(logo, m_logo);

        const qreal x = logo.right() + 10;
        painter.setFont(ViewFonts::ui(12.5, QFont::Bold));
        painter.setPen(theme.strongText);
        painter.drawText(QRectF(x, logo.top() - 1, width() - x, 16),
                         Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Quillstash"));
        const bool paused = m_state.isPaused();
        painter.setBrush(paused ? theme.orange : theme.green);
        painter.drawEllipse(QRectF(x, logo.top() + 20, 6, 6));
        painter.setFont(ViewFonts::ui(10, QFont::Medium));
        painter.setPen(theme.secondaryText);
        painter.drawText(QRectF(x + 10, logo.top() + 15, width() - x - 10, 16),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         paused ? SidebarView::tr("Paused") : SidebarView::tr("Monitoring"));
    }

private:
    ClipboardManagerState &m_state;
    const Theme *const &m_theme;
    QImage m_logo;
};

class SectionHeader final : public QWidget
{
public:
    SectionHeader(QString title, const Theme *const &theme)
        : m_title(std::move(title)), m_theme(theme)
    {
        setFixedHeight(24);
        setAccessibleName(m_title);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        QFont font = ViewFonts::ui(9.5, QFont::Bold);
        font.setLetterSpacing(QFont::AbsoluteSpacing, 0.6);
        painter.setFont(font);
        painter.setPen(m_theme->sidebarSectionHeader);
        painter.drawText(QRectF(8, 8, width() - 16, height() - 10),
                         Qt::AlignLeft | Qt::AlignVCenter, m_title);
    }

private:
    QString m_title;
    const Theme *const &m_theme;
};

QString quoted(const QString &text)
{
    return QStringLiteral("\"%1\"").arg(text);
}

CardContextMenu::Entry destructive(const QString &title, const QString &symbol,
                                   std::function<void()> action)
{
    CardContextMenu::Entry entry;
    entry.title = title;
    entry.symbol = symbol;
    entry.isDestructive = true;
    entry.action = std::move(action);
    return entry;
}

} // namespace

SidebarView::SidebarView(ClipboardManagerState &state, const Theme *const &theme, QWidget *parent)
    : QWidget(parent), m_state(state), m_theme(theme)
{
    setFixedWidth(width);
    setAccessibleName(tr("Sidebar"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    m_header = new SidebarHeader(state, theme);
    column->addWidget(m_header);

    auto *scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->viewport()->setAutoFillBackground(false);
    auto *content = new QWidget;
    content->setAutoFillBackground(false);
    m_list = new QVBoxLayout(content);
    m_list->setContentsMargins(8, 0, 8, 10);
    m_list->setSpacing(1);
    scroll->setWidget(content);
    // The scroll area paints its page by default; the sidebar's tint must show through.
    content->setAutoFillBackground(false);
    scroll->setStyleSheet(QStringLiteral("QScrollArea { background: transparent; }"));
    column->addWidget(scroll, 1);

    // The collection creation control: a button, or a name field with confirm and cancel.
    m_creation = new QWidget;
    auto *creation = new QVBoxLayout(m_creation);
    creation->setContentsMargins(0, 2, 0, 2);
    auto *newButton = new ToolbarButton(
        m_theme, QSize(width - 16, 24), -1,
        [](QPainter &painter, const QRectF &frame, const Theme &t) {
            Symbols::draw(painter, u"plus.circle.fill", QRectF(10, frame.top(), 15, frame.height()),
                          13, t.accent);
            painter.setFont(ViewFonts::ui(12, QFont::Medium));
            painter.setPen(t.sidebarTitle);
            painter.drawText(QRectF(33, frame.top(), frame.width() - 33, frame.height()),
                             Qt::AlignLeft | Qt::AlignVCenter, SidebarView::tr("New Collection"));
        });
    newButton->setObjectName(QStringLiteral("newCollectionButton"));
    newButton->setAccessibleName(tr("New Collection"));
    connect(newButton, &QAbstractButton::clicked, this, [this] {
        m_state.setNewCollectionName(QString());
        m_state.setIsCreatingCollection(true);
        m_nameField->setFocus();
    });
    m_newButton = newButton;
    creation->addWidget(newButton);

    m_nameRow = new QWidget;
    auto *nameRow = new QHBoxLayout(m_nameRow);
    nameRow->setContentsMargins(4, 0, 0, 0);
    nameRow->setSpacing(4);
    m_nameField = new QLineEdit;
    m_nameField->setObjectName(QStringLiteral("collectionNameField"));
    m_nameField->setPlaceholderText(tr("Collection name..."));
    m_nameField->setAccessibleName(tr("Collection name"));
    m_nameField->setFont(ViewFonts::ui(12));
    // Activation must not put the field in the way of the board's keys; a click or the New
    // Collection button focuses it.
    m_nameField->setFocusPolicy(Qt::ClickFocus);
    connect(m_nameField, &QLineEdit::textEdited, this,
            [this](const QString &text) { m_state.setNewCollectionName(text); });
    const auto commit = [this] {
        const QString name = m_state.newCollectionName().trimmed();
        if (!name.isEmpty())
            m_state.createCollection(name);
        m_state.setNewCollectionName(QString());
        m_state.setIsCreatingCollection(false);
    };
    connect(m_nameField, &QLineEdit::returnPressed, this, commit);
    const auto roundButton = [this](const char *symbol, QColor Theme::*colour) {
        return new ToolbarButton(
            m_theme, QSize(20, 20), -1,
            [symbol, colour](QPainter &painter, const QRectF &frame, const Theme &t) {
                Symbols::draw(painter, QString::fromLatin1(symbol), frame, 15, t.*colour);
            });
    };
    auto *confirm = roundButton("checkmark.circle.fill", &Theme::accent);
    confirm->setObjectName(QStringLiteral("confirmCollectionButton"));
    confirm->setAccessibleName(tr("Create Collection"));
    connect(confirm, &QAbstractButton::clicked, this, commit);
    auto *cancel = roundButton("xmark.circle.fill", &Theme::secondaryText);
    cancel->setObjectName(QStringLiteral("cancelCollectionButton"));
    cancel->setAccessibleName(tr("Cancel"));
    connect(cancel, &QAbstractButton::clicked, this, [this] {
        m_state.setIsCreatingCollection(false);
        m_state.setNewCollectionName(QString());
    });
    nameRow->addWidget(m_nameField, 1);
    nameRow->addWidget(confirm);
    nameRow->addWidget(cancel);
    creation->addWidget(m_nameRow);

    refresh();
}

QList<SidebarView::Entry> SidebarView::entries() const
{
    QList<Entry> list;
    list.append({SidebarSelection::history(), tr("All Clippings"), m_state.totalHistoryCount()});
    list.append({SidebarSelection::favorites(), tr("Favorites"), m_state.favoritesCount()});
    for (const ClippingCollection &collection : m_state.collections())
        list.append({SidebarSelection::collection(collection.id), collection.name,
                     m_state.countForCollection(collection.id)});
    for (const SidebarApp &app : m_state.sidebarApps())
        list.append({SidebarSelection::app(app.name), app.name, m_state.countForApp(app.name)});
    for (const ClippingType type : allClippingTypes)
        list.append({SidebarSelection::type(type), rawValue(type), m_state.countForType(type)});
    return list;
}

QList<CardContextMenu::Entry> SidebarView::menuEntries(ClipboardManagerState &state,
                                                       const SidebarSelection &selection)
{
    ClipboardManagerState *s = &state;
    const auto clear = [s, selection] { s->clearContent(selection); };
    switch (selection.kind()) {
    case SidebarSelection::Kind::History:
    case SidebarSelection::Kind::Favorites:
        return {destructive(tr("Clear Content"), QStringLiteral("trash"), clear)};
    case SidebarSelection::Kind::Collection: {
        const auto found = std::find_if(
            state.collections().begin(), state.collections().end(),
            [&](const ClippingCollection &c) { return c.id == selection.collectionID(); });
        if (found == state.collections().end())
            return {};
        const ClippingCollection collection = *found;
        CardContextMenu::Entry separator;
        separator.kind = CardContextMenu::Entry::Kind::Separator;
        return {destructive(tr("Clear Content"), QStringLiteral("xmark.bin"), clear), separator,
                destructive(tr("Delete Collection %1").arg(quoted(collection.name)),
                            QStringLiteral("trash"),
                            [s, collection] { s->deleteCollection(collection); })};
    }
    case SidebarSelection::Kind::App:
        return {destructive(tr("Clear %1 Content").arg(quoted(selection.appName())),
                            QStringLiteral("trash"), clear)};
    case SidebarSelection::Kind::Type:
        break;
    }
    return {destructive(tr("Clear %1 Content").arg(quoted(rawValue(selection.clippingType()))),
                        QStringLiteral("trash"), clear)};
}

void SidebarView::dropText(ClipboardManagerState &state, const QUuid &collectionID,
                           const QString &text)
{
    const QUuid id = QUuid::fromString(text.trimmed());
    if (!id.isNull())
        state.addItemToCollection(id, collectionID);
}

SidebarRowButton *SidebarView::row(const SidebarSelection &selection) const
{
    for (const auto &[rowSelection, button] : m_rows)
        if (rowSelection == selection)
            return button;
    return nullptr;
}

QList<SidebarRowButton *> SidebarView::rows() const
{
    QList<SidebarRowButton *> list;
    for (const auto &entry : m_rows)
        list.append(entry.second);
    return list;
}

SidebarRowButton *SidebarView::makeRow(const Entry &entry)
{
    SidebarRowButton::IconPainter icon;
    QColor iconColour;
    switch (entry.selection.kind()) {
    case SidebarSelection::Kind::History:
        icon = [](QPainter &p, const QRectF &f, const QColor &c) {
            Symbols::draw(p, u"clock.arrow.circlepath", f, 12.5, c);
        };
        break;
    case SidebarSelection::Kind::Favorites:
        icon = [](QPainter &p, const QRectF &f, const QColor &c) {
            Symbols::draw(p, u"heart.fill", f, 12, c);
        };
        iconColour = m_theme->favoritesIcon;
        break;
    case SidebarSelection::Kind::Collection:
        icon = [](QPainter &p, const QRectF &f, const QColor &c) {
            Symbols::draw(p, u"folder.fill", f, 12, c);
        };
        iconColour = m_theme->collectionIcon;
        break;
    case SidebarSelection::Kind::App: {
        QString bundleID;
        for (const SidebarApp &app : m_state.sidebarApps())
            if (app.name == entry.selection.appName())
                bundleID = app.bundleID;
        const QImage image = AppIconProvider::shared().icon(entry.title, bundleID);
        icon = [image](QPainter &p, const QRectF &f, const QColor &) {
            p.save();
            p.setRenderHint(QPainter::SmoothPixmapTransform);
            p.drawImage(f, image);
            p.restore();
        };
        break;
    }
    case SidebarSelection::Kind::Type: {
        const TypeIcon type = typeIcon(entry.selection.clippingType());
        const QString symbol = QString::fromLatin1(type.symbol);
        icon = [symbol](QPainter &p, const QRectF &f, const QColor &c) {
            Symbols::draw(p, symbol, f, 12, c);
        };
        iconColour = m_theme->*type.colour;
        break;
    }
    }
    auto *button = new SidebarRowButton(m_theme, entry.title, icon);
    button->setIconColour(iconColour);
    const SidebarSelection selection = entry.selection;
    connect(button, &QAbstractButton::clicked, this, [this, selection] {
        m_state.setSidebarSelection(selection);
        m_state.ensureValidSelection();
    });
    button->onContextMenu = [this, selection, button](const QPoint &at) {
        const QList<CardContextMenu::Entry> items = menuEntries(m_state, selection);
        if (items.isEmpty())
            return;
        QMenu *menu = CardContextMenu::menu(items, button);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(at);
    };
    if (selection.kind() == SidebarSelection::Kind::Collection) {
        button->setAcceptsDroppedText(true);
        const QUuid id = selection.collectionID();
        button->onDropText = [this, id](const QString &text) { dropText(m_state, id, text); };
    }
    return button;
}

void SidebarView::rebuild(const QList<Entry> &list)
{
    m_list->removeWidget(m_creation);
    while (QLayoutItem *item = m_list->takeAt(0)) {
        if (QWidget *widget = item->widget()) {
            widget->hide();
            widget->deleteLater();
        }
        delete item;
    }
    m_rows.clear();
    m_structure.clear();
    const auto addRows = [&](SidebarSelection::Kind kind) {
        for (const Entry &entry : list) {
            if (entry.selection.kind() != kind)
                continue;
            SidebarRowButton *button = makeRow(entry);
            m_list->addWidget(button);
            m_rows.append({entry.selection, button});
            m_structure.append({entry.selection, entry.title});
        }
    };
    const auto section = [this](const QString &title) {
        m_list->addWidget(new SectionHeader(title, m_theme));
    };
    addRows(SidebarSelection::Kind::History);
    addRows(SidebarSelection::Kind::Favorites);
    section(tr("COLLECTIONS"));
    addRows(SidebarSelection::Kind::Collection);
    m_list->addWidget(m_creation);
    section(tr("SOURCE APPS"));
    addRows(SidebarSelection::Kind::App);
    section(tr("CONTENT TYPES"));
    addRows(SidebarSelection::Kind::Type);
    m_list->addStretch(1);
    m_creation->show();
}

void SidebarView::updateCreation()
{
    const bool creating = m_state.isCreatingCollection();
    m_newButton->setVisible(!creating);
    m_nameRow->setVisible(creating);
    if (m_nameField->text() != m_state.newCollectionName())
        m_nameField->setText(m_state.newCollectionName());
}

void SidebarView::refresh()
{
    const QList<Entry> list = entries();
    QList<std::pair<SidebarSelection, QString>> structure;
    structure.reserve(list.size());
    for (const Entry &entry : list)
        structure.append({entry.selection, entry.title});
    if (structure != m_structure || m_shownTheme != m_theme) {
        m_shownTheme = m_theme;
        rebuild(list);
    }
    const SidebarSelection chosen = m_state.sidebarSelection();
    for (qsizetype i = 0; i < list.size(); ++i) {
        m_rows[i].second->setBadgeCount(list[i].count);
        m_rows[i].second->setSelected(list[i].selection == chosen);
    }
    updateCreation();
    m_header->update();
}

void SidebarView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_theme->boardBackground);
    painter.fillRect(rect(), m_theme->sidebarTint);
}
