#include "mainboardview.h"

#include "board/clipboardmanagerstate.h"
#include "boardicons.h"
#include "boardsettingsmenu.h"
#include "cardgridview.h"
#include "layoutpreset.h"
#include "quicklookview.h"
#include "sidebarview.h"
#include "toolbarbutton.h"
#include "views/foundation/counttext.h"
#include "views/foundation/keylabels.h"
#include "views/foundation/symbols.h"
#include "views/foundation/theme.h"
#include "views/foundation/viewfonts.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QStackedWidget>
#include <QToolTip>
#include <QVBoxLayout>

namespace
{

constexpr int commandBarHeight = 46;
constexpr int bottomBarHeight = 28;

// A strip of one theme colour: the bars' separators and the sidebar's divider.
class Line final : public QWidget
{
public:
    Line(const Theme *const &theme, QColor Theme::*colour, Qt::Orientation orientation)
        : m_theme(theme), m_colour(colour)
    {
        if (orientation == Qt::Horizontal)
            setFixedHeight(1);
        else
            setFixedWidth(1);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), m_theme->*m_colour);
    }

private:
    const Theme *const &m_theme;
    QColor Theme::*m_colour;
};

class BarBackground final : public QWidget
{
public:
    explicit BarBackground(const Theme *const &theme) : m_theme(theme) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), m_theme->barBackground);
    }

private:
    const Theme *const &m_theme;
};

// The search field's rounded frame around the symbol, the text field and the clear button.
class SearchFrame final : public QWidget
{
public:
    explicit SearchFrame(const Theme *const &theme) : m_theme(theme) { setFixedHeight(29); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF area = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        painter.setPen(QPen(m_theme->searchFieldOutline, 1));
        painter.setBrush(m_theme->searchFieldBackground);
        painter.drawRoundedRect(area, 7, 7);
        Symbols::draw(painter, u"magnifyingglass", QRectF(10, 0, 14, height()), 12.5,
                      m_theme->toolbarIcon);
    }

private:
    const Theme *const &m_theme;
};

class PresetButton final : public QAbstractButton
{
public:
    PresetButton(const Theme *const &theme, LayoutPreset preset) : m_theme(theme), m_preset(preset)
    {
        setFocusPolicy(Qt::NoFocus);
        setCursor(Qt::PointingHandCursor);
        setText(preset.label());
        setAccessibleName(preset.label());
        const qreal width =
            8 + 12 + 4 +
            QFontMetricsF(ViewFonts::ui(10.5, QFont::DemiBold)).horizontalAdvance(preset.label()) +
            8;
        setFixedSize(qCeil(width), 24);
    }
    const LayoutPreset &preset() const { return m_preset; }
    bool isActive() const { return m_active; }
    void setActive(bool active)
    {
        if (active == m_active)
            return;
        m_active = active;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        const Theme &theme = *m_theme;
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        if (m_active) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(theme.accent);
            painter.drawRoundedRect(QRectF(rect()), 5, 5);
        }
        const QColor colour = m_active ? QColor(Qt::white) : theme.toolbarIcon;
        Symbols::draw(painter, m_preset.symbol(), QRectF(8, 0, 12, height()), 10.5, colour);
        painter.setFont(ViewFonts::ui(10.5, m_active ? QFont::DemiBold : QFont::Medium));
        painter.setPen(colour);
        painter.drawText(QRectF(24, 0, width() - 24, height()), Qt::AlignLeft | Qt::AlignVCenter,
                         m_preset.label());
    }

private:
    const Theme *const &m_theme;
    LayoutPreset m_preset;
    bool m_active = false;
};

class PresetGroup final : public QWidget
{
public:
    explicit PresetGroup(const Theme *const &theme) : m_theme(theme)
    {
        auto *row = new QHBoxLayout(this);
        row->setContentsMargins(2, 2, 2, 2);
        row->setSpacing(2);
        setFixedHeight(28);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(m_theme->presetGroupBackground);
        painter.drawRoundedRect(QRectF(rect()), 7, 7);
    }

private:
    const Theme *const &m_theme;
};

class EmptyState final : public QWidget
{
public:
    explicit EmptyState(const Theme *const &theme) : m_theme(theme)
    {
        setAccessibleName(MainBoardView::tr("No matching clippings"));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        const Theme &theme = *m_theme;
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QFont title = ViewFonts::ui(13.5, QFont::DemiBold);
        const QFont hint = ViewFonts::ui(11.5);
        const qreal titleHeight = QFontMetricsF(title).height();
        const qreal hintHeight = QFontMetricsF(hint).height();
        const qreal total = 40 + 10 + titleHeight + 4 + hintHeight;
        qreal y = (height() - total) / 2;
        Symbols::draw(painter, u"doc.text.magnifyingglass", QRectF(0, y, width(), 40), 34,
                      theme.toolbarIcon);
        y += 50;
        painter.setFont(title);
        painter.setPen(theme.emptyStateTitle);
        painter.drawText(QRectF(0, y, width(), titleHeight), Qt::AlignCenter,
                         MainBoardView::tr("No matching clippings"));
        y += titleHeight + 4;
        painter.setFont(hint);
        painter.setPen(theme.toolbarIcon);
        painter.drawText(
            QRectF(0, y, width(), hintHeight), Qt::AlignCenter,
            MainBoardView::tr(
                "Try clearing your search or selecting All Clippings in the sidebar."));
    }

private:
    const Theme *const &m_theme;
};

// The bottom bar: the toast or the summary, then the key hints.
class BottomBar final : public QWidget
{
public:
    BottomBar(ClipboardManagerState &state, const Theme *const &theme)
        : m_state(state), m_theme(theme)
    {
        setFixedHeight(bottomBarHeight);
        m_hints = {
            {KeyLabels::label(KeyLabels::enter()), MainBoardView::tr("Paste")},
            {KeyLabels::label(KeyLabels::space()), MainBoardView::tr("Preview")},
            {KeyLabels::label(KeyLabels::copy()), MainBoardView::tr("Copy")},
            {KeyLabels::alt(), MainBoardView::tr("Reveal")},
            {KeyLabels::quickPasteLabel(1) + QStringLiteral("–9"), MainBoardView::tr("Quick")},
        };
    }

    QString statusText() const
    {
        if (const std::optional<QString> toast = m_state.statusToastMessage())
            return *toast;
        const QString items =
            CountText::format(m_state.visibleItemCount(), MainBoardView::tr("%n item"),
                              MainBoardView::tr("%n items"));
        return MainBoardView::tr("%1 • %2×%3 board")
            .arg(items)
            .arg(m_state.gridRows())
            .arg(m_state.gridColumns());
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        const Theme &theme = *m_theme;
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(rect(), theme.barBackground);
        const qreal h = height();

        // Hints from the right edge, so that the status keeps the rest of the row.
        const QFont keyFont = ViewFonts::ui(9.5, QFont::Bold);
        const QFont labelFont = ViewFonts::ui(10);
        const QFontMetricsF keyMetrics(keyFont);
        const QFontMetricsF labelMetrics(labelFont);
        qreal x = width() - 14;
        for (auto it = m_hints.crbegin(); it != m_hints.crend(); ++it) {
            const qreal labelWidth = labelMetrics.horizontalAdvance(it->second);
            x -= labelWidth;
            painter.setFont(labelFont);
            painter.setPen(theme.toolbarIcon);
            painter.drawText(QRectF(x, 0, labelWidth + 1, h), Qt::AlignLeft | Qt::AlignVCenter,
                             it->second);
            const QSizeF cap(keyMetrics.horizontalAdvance(it->first) + 9, keyMetrics.height() + 2);
            x -= 4 + cap.width();
            const QRectF capRect(x, (h - cap.height()) / 2, cap.width(), cap.height());
            painter.setPen(Qt::NoPen);
            painter.setBrush(theme.keyCapBackground);
            painter.drawRoundedRect(capRect, 3.5, 3.5);
            painter.setFont(keyFont);
            painter.setPen(theme.keyCapText);
            painter.drawText(capRect, Qt::AlignCenter, it->first);
            x -= 12;
        }
        const qreal statusRight = x - 10 + 12;

        const std::optional<QString> toast = m_state.statusToastMessage();
        if (toast) {
            const QFont font = ViewFonts::ui(11, QFont::DemiBold);
            const QFontMetricsF metrics(font);
            const qreal textWidth =
                std::min(metrics.horizontalAdvance(*toast), statusRight - 14 - 8 - 11 - 5 - 8);
            const QRectF pill(14, (h - metrics.height() - 4) / 2, 8 + 11 + 5 + textWidth + 8,
                              metrics.height() + 4);
            painter.setPen(Qt::NoPen);
            painter.setBrush(theme.toastBackground);
            painter.drawRoundedRect(pill, pill.height() / 2, pill.height() / 2);
            Symbols::draw(painter, u"checkmark.circle.fill",
                          QRectF(pill.left() + 8, pill.top(), 11, pill.height()), 11, theme.green);
            painter.setFont(font);
            painter.setPen(theme.strongText);
            painter.drawText(QRectF(pill.left() + 24, pill.top(), textWidth, pill.height()),
                             Qt::AlignLeft | Qt::AlignVCenter,
                             metrics.elidedText(*toast, Qt::ElideRight, textWidth));
            return;
        }
        const QFont font = ViewFonts::ui(10.5, QFont::Medium);
        painter.setFont(font);
        painter.setPen(theme.toolbarIcon);
        painter.drawText(QRectF(14, 0, std::max<qreal>(0, statusRight - 14), h),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         QFontMetricsF(font).elidedText(statusText(), Qt::ElideRight,
                                                        std::max<qreal>(0, statusRight - 14)));
    }

private:
    ClipboardManagerState &m_state;
    const Theme *const &m_theme;
    QList<std::pair<QString, QString>> m_hints;
};

QString withKeys(const QString &title, const QKeySequence &keys)
{
    return QStringLiteral("%1 (%2)").arg(title, KeyLabels::label(keys));
}

} // namespace

MainBoardView::MainBoardView(ClipboardManagerState &state, QWidget *parent)
    : QWidget(parent), m_state(state), m_theme(&Theme::forAppearance(state.appearancePreference()))
{
    setAccessibleName(tr("Quillstash board"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    m_sidebar = new SidebarView(state, m_theme);
    row->addWidget(m_sidebar);
    m_sidebarDivider = new Line(m_theme, &Theme::sidebarDivider, Qt::Vertical);
    row->addWidget(m_sidebarDivider);

    auto *column = new QVBoxLayout;
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    m_commandBar = makeCommandBar();
    column->addWidget(m_commandBar);
    column->addWidget(new Line(m_theme, &Theme::barSeparator, Qt::Horizontal));
    m_gridArea = new QStackedWidget;
    m_grid = new CardGridView(state);
    m_grid->setObjectName(QStringLiteral("cardGrid"));
    m_emptyState = new EmptyState(m_theme);
    m_emptyState->setObjectName(QStringLiteral("emptyState"));
    m_gridArea->addWidget(m_grid);
    m_gridArea->addWidget(m_emptyState);
    column->addWidget(m_gridArea, 1);
    column->addWidget(new Line(m_theme, &Theme::barSeparator, Qt::Horizontal));
    m_bottomBar = new BottomBar(state, m_theme);
    m_bottomBar->setObjectName(QStringLiteral("bottomBar"));
    column->addWidget(m_bottomBar);
    row->addLayout(column, 1);

    m_quickLook = new QuickLookView(state, m_theme, this);

    connect(&m_state, &ClipboardManagerState::changed, this, &MainBoardView::refresh);
    refresh();
}

QWidget *MainBoardView::makeCommandBar()
{
    auto *bar = new BarBackground(m_theme);
    bar->setFixedHeight(commandBarHeight);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(12, 0, 12, 0);
    row->setSpacing(10);

    auto *toggle = new ToolbarButton(
        m_theme, QSize(28, 28), 6, [this](QPainter &painter, const QRectF &frame, const Theme &t) {
            BoardIcons::drawSidebarToggle(painter,
                                          QRectF(frame.center() - QPointF(8, 6.5), QSizeF(16, 13)),
                                          t.toolbarIcon, m_state.isSidebarVisible());
        });
    toggle->setObjectName(QStringLiteral("sidebarToggle"));
    toggle->setToolTip(withKeys(tr("Toggle Sidebar"), KeyLabels::toggleSidebar()));
    toggle->setAccessibleName(tr("Toggle Sidebar"));
    connect(toggle, &QAbstractButton::clicked, this,
            [this] { m_state.setIsSidebarVisible(!m_state.isSidebarVisible()); });
    row->addWidget(toggle);

    auto *search = new SearchFrame(m_theme);
    auto *searchRow = new QHBoxLayout(search);
    searchRow->setContentsMargins(10 + 14 + 7, 0, 10, 0);
    searchRow->setSpacing(4);
    m_search = new QLineEdit;
    m_search->setObjectName(QStringLiteral("searchField"));
    m_search->setFrame(false);
    m_search->setFont(ViewFonts::ui(12.5));
    m_search->setPlaceholderText(tr("Search clippings, apps, links, or colors..."));
    m_search->setAccessibleName(tr("Search"));
    m_search->setAttribute(Qt::WA_MacShowFocusRect, false);
    // Typing into the board, Ctrl+F or a click focus the field; the window's activation never
    // does, so the board's keys work from the first press.
    m_search->setFocusPolicy(Qt::ClickFocus);
    connect(m_search, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (text == m_state.searchText())
            return;
        m_state.setSearchText(text);
        m_state.ensureValidSelection();
    });
    searchRow->addWidget(m_search, 1);
    auto *clear = new ToolbarButton(
        m_theme, QSize(18, 18), -1, [](QPainter &painter, const QRectF &frame, const Theme &t) {
            Symbols::draw(painter, u"xmark.circle.fill", frame, 13, t.toolbarIcon);
        });
    clear->setObjectName(QStringLiteral("clearSearch"));
    clear->setAccessibleName(tr("Clear Search"));
    clear->setToolTip(tr("Clear Search"));
    connect(clear, &QAbstractButton::clicked, this, [this] {
        m_state.setSearchText(QString());
        m_state.ensureValidSelection();
    });
    m_clearSearch = clear;
    searchRow->addWidget(clear);
    row->addWidget(search, 1);

    auto *presets = new PresetGroup(m_theme);
    presets->setObjectName(QStringLiteral("layoutPresets"));
    for (const LayoutPreset &preset : LayoutPreset::all()) {
        auto *button = new PresetButton(m_theme, preset);
        connect(button, &QAbstractButton::clicked, this, [this, preset] {
            m_state.setGridRows(preset.rows);
            m_state.setGridColumns(preset.columns);
        });
        presets->layout()->addWidget(button);
        m_presetButtons.append(button);
    }
    row->addWidget(presets);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    auto *theme = new ToolbarButton(
        m_theme, QSize(28, 28), 6, [](QPainter &painter, const QRectF &frame, const Theme &t) {
            if (t.isDark)
                Symbols::draw(painter, u"sun.max.fill", frame, 12, t.yellow);
            else
                Symbols::draw(painter, u"moon.stars.fill", frame, 12, t.indigo);
        });
    theme->setObjectName(QStringLiteral("themeButton"));
    theme->setToolTip(tr("Switch Light / Dark Mode"));
    theme->setAccessibleName(tr("Switch Light / Dark Mode"));
    connect(theme, &QAbstractButton::clicked, this, [this] {
        m_state.setAppearancePreference(m_theme->isDark ? AppearancePreference::Light
                                                        : AppearancePreference::Dark);
    });
    buttons->addWidget(theme);

    auto *anchor = new ToolbarButton(
        m_theme, QSize(28, 28), 6, [this](QPainter &painter, const QRectF &frame, const Theme &t) {
            const QColor colour = m_state.isWindowAnchored() ? t.accent : t.toolbarIcon;
            BoardIcons::drawWindowAnchor(
                painter, QRectF(frame.center() - QPointF(6.5, 7), QSizeF(13, 14)), colour);
        });
    anchor->setObjectName(QStringLiteral("anchorButton"));
    anchor->setToolTip(withKeys(tr("Keep Window on Top / Anchor"), KeyLabels::anchor()));
    anchor->setAccessibleName(tr("Keep Window on Top / Anchor"));
    connect(anchor, &QAbstractButton::clicked, this,
            [this] { m_state.setIsWindowAnchored(!m_state.isWindowAnchored()); });
    buttons->addWidget(anchor);

    auto *settings = new ToolbarButton(
        m_theme, QSize(28, 28), 6, [](QPainter &painter, const QRectF &frame, const Theme &t) {
            Symbols::draw(painter, u"gearshape.fill", frame, 12.5, t.toolbarIcon);
        });
    settings->setObjectName(QStringLiteral("settingsButton"));
    settings->setToolTip(withKeys(tr("Settings & Preferences"), KeyLabels::preferences()));
    settings->setAccessibleName(tr("Settings & Preferences"));
    connect(settings, &QAbstractButton::clicked, this, [this, settings] {
        QMenu *menu = CardContextMenu::menu(BoardSettingsMenu::entries(m_state), settings);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(settings->mapToGlobal(QPoint(0, settings->height() + 2)));
    });
    buttons->addWidget(settings);
    row->addLayout(buttons);
    return bar;
}

bool MainBoardView::showsEmptyState() const
{
    return m_gridArea->currentWidget() == m_emptyState;
}

QString MainBoardView::statusText() const
{
    return static_cast<BottomBar *>(m_bottomBar)->statusText();
}

bool MainBoardView::typeToSearch(QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (event->key() == Qt::Key_F && modifiers == Qt::ControlModifier) {
        m_search->setFocus(Qt::ShortcutFocusReason);
        return true;
    }
    const QString text = event->text();
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier) || text.isEmpty() ||
        !text.front().isPrint() || text == QStringLiteral(" "))
        return false;
    m_search->setFocus(Qt::OtherFocusReason);
    m_search->end(false);
    m_search->insert(text);
    return true;
}

void MainBoardView::refresh()
{
    const Theme &theme = Theme::forAppearance(m_state.appearancePreference());
    const bool themeChanged = &theme != m_paintedTheme;
    m_theme = &theme;
    m_paintedTheme = &theme;
    m_grid->setTheme(theme);

    const bool sidebar = m_state.isSidebarVisible();
    m_sidebar->setVisible(sidebar);
    m_sidebarDivider->setVisible(sidebar);
    if (sidebar)
        m_sidebar->refresh();

    if (m_search->text() != m_state.searchText())
        m_search->setText(m_state.searchText());
    m_clearSearch->setVisible(!m_state.searchText().isEmpty());
    if (themeChanged) {
        setPalette(theme.palette());
        QToolTip::setPalette(theme.palette());
        QPalette palette = m_search->palette();
        palette.setColor(QPalette::Text, theme.strongText);
        palette.setColor(QPalette::Base, Qt::transparent);
        palette.setColor(QPalette::PlaceholderText, theme.secondaryText);
        m_search->setPalette(palette);
    }
    // A cast, not findChildren: the button type has no meta-object of its own, so a search by
    // type would also return the other buttons of the bar.
    for (QAbstractButton *child : m_presetButtons) {
        auto *button = static_cast<PresetButton *>(child);
        button->setActive(button->preset().isActive(m_state.gridRows(), m_state.gridColumns()));
    }

    m_gridArea->setCurrentWidget(m_state.visibleItemCount() == 0 ? m_emptyState
                                                                 : static_cast<QWidget *>(m_grid));
    m_quickLook->refresh();
    if (themeChanged)
        update();
    else {
        m_commandBar->update();
        m_bottomBar->update();
    }
}

void MainBoardView::changeEvent(QEvent *event)
{
    // The System appearance and the accent follow the desktop's palette.
    if (event->type() == QEvent::ApplicationPaletteChange) {
        Theme::followDesktop();
        m_paintedTheme = nullptr;
        refresh();
        m_grid->viewport()->update();
    }
    QWidget::changeEvent(event);
}

void MainBoardView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_theme->boardBackground);
}

void MainBoardView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_quickLook->setGeometry(rect());
}
