#include "preferenceswindow.h"

#include "board/clipboardmanagerstate.h"
#include "centredwindow.h"
#include "store/loginitem.h"
#include "views/foundation/controlstyles.h"
#include "views/foundation/keylabels.h"
#include "views/foundation/symbols.h"
#include "views/foundation/theme.h"
#include "views/foundation/viewfonts.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace
{

constexpr QSize windowSize(560, 420);
constexpr int maximumRows = 10;
constexpr int maximumColumns = 6;

QColor withOpacity(QColor colour, qreal opacity)
{
    colour.setAlphaF(float(std::min(1.0, colour.alphaF() * opacity)));
    return colour;
}

// A rounded rectangle in the theme's secondary colour behind whatever the widget holds. It
// follows the window's theme pointer.
class TintedBox : public QWidget
{
public:
    TintedBox(const Theme *const &theme, qreal opacity, qreal radius)
        : m_theme(theme), m_opacity(opacity), m_radius(radius)
    {
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(withOpacity(m_theme->secondaryText, m_opacity));
        painter.drawRoundedRect(QRectF(rect()), m_radius, m_radius);
    }

private:
    const Theme *const &m_theme;
    qreal m_opacity;
    qreal m_radius;
};

// Text on a small rounded tint: a stepper's value or a key.
class TintedLabel final : public QLabel
{
public:
    TintedLabel(const Theme *const &theme, qreal opacity, const QFont &font)
        : m_theme(theme), m_opacity(opacity)
    {
        setFont(font);
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        {
            QPainter painter(this);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::NoPen);
            painter.setBrush(withOpacity(m_theme->secondaryText, m_opacity));
            painter.drawRoundedRect(QRectF(rect()), 4, 4);
        }
        QLabel::paintEvent(event);
    }

private:
    const Theme *const &m_theme;
    qreal m_opacity;
};

// One tab of the tab bar: symbol and title on a rounded tint, accent-filled when selected.
class TabButton final : public QAbstractButton
{
public:
    TabButton(PreferencesTab tab, const Theme *const &theme) : m_tab(tab), m_theme(theme)
    {
        setText(PreferencesWindow::tr(qPrintable(rawValue(tab))));
        setCheckable(true);
        setCursor(Qt::PointingHandCursor);
        setAccessibleName(text());
        setFocusPolicy(Qt::TabFocus);
        // Sized for the font it is drawn in: semibold only while selected.
        connect(this, &QAbstractButton::toggled, this, [this] { updateGeometry(); });
    }

    QSize sizeHint() const override
    {
        const QFontMetricsF metrics(titleFont(isChecked()));
        return QSize(qCeil(14 + symbolSize + 6 + metrics.horizontalAdvance(text()) + 14),
                     qCeil(std::max<qreal>(metrics.height(), symbolSize) + 2 * 7));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const bool selected = isChecked();
        painter.setPen(Qt::NoPen);
        painter.setBrush(selected ? m_theme->accent : withOpacity(m_theme->secondaryText, 0.12));
        painter.drawRoundedRect(QRectF(rect()), 6, 6);
        const QColor ink = selected ? QColor(Qt::white) : m_theme->primaryText;
        const QRectF symbolRect(14, (height() - symbolSize) / 2.0, symbolSize, symbolSize);
        Symbols::draw(painter, ::icon(m_tab), symbolRect, symbolSize, ink);
        painter.setPen(ink);
        painter.setFont(titleFont(selected));
        painter.drawText(QRectF(symbolRect.right() + 6, 0, width(), height()),
                         Qt::AlignLeft | Qt::AlignVCenter, text());
    }

private:
    static constexpr qreal symbolSize = 12.5;
    static QFont titleFont(bool selected)
    {
        return ViewFonts::ui(12.5, selected ? QFont::DemiBold : QFont::Normal);
    }

    PreferencesTab m_tab;
    const Theme *const &m_theme;
};

QLabel *textLabel(const QString &text, const QFont &font)
{
    auto *label = new QLabel(text);
    label->setFont(font);
    return label;
}

// Explanatory text, in the secondary colour.
QLabel *noteLabel(const QString &text, const Theme &theme)
{
    auto *label = textLabel(text, ViewFonts::ui(11.5));
    label->setWordWrap(true);
    label->setObjectName(QStringLiteral("note"));
    label->setStyleSheet(
        QStringLiteral("color: %1;").arg(theme.secondaryText.name(QColor::HexArgb)));
    return label;
}

QCheckBox *toggle(const QString &text, const QString &name)
{
    auto *box = new QCheckBox(text);
    box->setFont(ViewFonts::ui(12.5));
    box->setObjectName(name);
    return box;
}

QPushButton *pushButton(const QString &text, const QString &name, qreal fontSize = 12.5)
{
    auto *button = new QPushButton(text);
    button->setFont(ViewFonts::ui(fontSize));
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

// A box of the General and Security pages, with its title.
QVBoxLayout *sectionBox(QVBoxLayout *page, const QString &title, int spacing,
                        const Theme *const &theme)
{
    auto *box = new TintedBox(theme, 0.07, 8);
    auto *column = new QVBoxLayout(box);
    column->setContentsMargins(14, 14, 14, 14);
    column->setSpacing(spacing);
    column->addWidget(textLabel(title, ViewFonts::ui(13, QFont::DemiBold)));
    page->addWidget(box);
    return column;
}

// A page taller than the window scrolls rather than squeezing its rows.
QScrollArea *scrolling(QWidget *page)
{
    auto *scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(page);
    return scroll;
}

QVBoxLayout *pageColumn(QWidget *page)
{
    auto *column = new QVBoxLayout(page);
    // 14 above and below, not 20: General fits the window without scrolling at the usual font.
    column->setContentsMargins(20, 14, 20, 14);
    column->setSpacing(18);
    column->setAlignment(Qt::AlignTop);
    return column;
}

// The text of a modifier combination alone, as this desktop writes it ("Ctrl+Alt").
QString modifierLabel(Qt::KeyboardModifiers modifiers)
{
    QString text = KeyLabels::label(QKeySequence(modifiers | Qt::Key_A));
    text.chop(1);
    if (text.endsWith(QLatin1Char('+')))
        text.chop(1);
    return text;
}

QString keys(const QKeySequence &sequence)
{
    return KeyLabels::label(sequence);
}

struct ShortcutRow {
    QString keys;
    QString description;
};

QList<ShortcutRow> shortcutRows()
{
    const auto ctrl = Qt::ControlModifier;
    const auto ctrlAlt = Qt::ControlModifier | Qt::AltModifier;
    const QString slash = QStringLiteral(" / ");
    return {
        {keys(KeyLabels::toggleBoard()),
         PreferencesWindow::tr("Show / Hide Quillstash (Hold %1 and press V repeatedly to cycle)")
             .arg(modifierLabel(ctrlAlt))},
        {KeyLabels::quickPasteLabel(1) + QStringLiteral(" .. ") + KeyLabels::quickPasteLabel(9),
         PreferencesWindow::tr("Hold %1 to view badges and press 1–9 to paste immediately")
             .arg(modifierLabel(ctrl))},
        {keys(KeyLabels::enter()) + slash + PreferencesWindow::tr("Double-Click"),
         PreferencesWindow::tr("Restore / Paste selected clipping")},
        {keys(KeyLabels::space()),
         PreferencesWindow::tr("Quick Look preview of selected clipping")},
        {keys(KeyLabels::toggleSidebar()), PreferencesWindow::tr("Toggle Sidebar visibility")},
        {keys(KeyLabels::anchor()), PreferencesWindow::tr("Anchor / Keep window on top")},
        {keys(QKeySequence(ctrlAlt | Qt::Key_T)),
         PreferencesWindow::tr("Snap window to top-right bar")},
        {keys(KeyLabels::pause()), PreferencesWindow::tr("Pause / Resume clipboard monitoring")},
        {keys(QKeySequence(ctrl | Qt::Key_Plus)) + slash + keys(QKeySequence(ctrl | Qt::Key_Minus)),
         PreferencesWindow::tr("Add or remove grid rows")},
        {keys(QKeySequence(ctrlAlt | Qt::Key_Plus)) + slash +
             keys(QKeySequence(ctrlAlt | Qt::Key_Minus)),
         PreferencesWindow::tr("Add or remove grid columns")},
        {keys(QKeySequence(ctrl | Qt::Key_0)), PreferencesWindow::tr("Return to History view")},
        {PreferencesWindow::tr("%1 (Hold)").arg(KeyLabels::alt()),
         PreferencesWindow::tr("Temporarily reveal obfuscated passwords")},
        {keys(KeyLabels::copy()) + slash + keys(QKeySequence(ctrl | Qt::Key_V)) + slash +
             keys(QKeySequence(ctrl | Qt::Key_X)),
         PreferencesWindow::tr("Copy, Paste, or Cut selected clipping")},
        {keys(KeyLabels::pastePlainText()),
         PreferencesWindow::tr("Paste as Plain Text (strip formatting)")},
        {keys(KeyLabels::openUrl()) + slash + keys(KeyLabels::revealInFileManager()),
         PreferencesWindow::tr("Open URL/File or Show in File Manager")},
    };
}

struct Choice {
    QString text;
    int value;
};

void fillPicker(QComboBox *picker, const QList<Choice> &choices)
{
    for (const Choice &choice : choices)
        picker->addItem(choice.text, choice.value);
}

// The choice holding the value, or none when a hand-edited setting matches no choice.
void showValue(QComboBox *picker, int value)
{
    const QSignalBlocker blocker(picker);
    picker->setCurrentIndex(picker->findData(value));
}

} // namespace

PreferencesWindow::PreferencesWindow(ClipboardManagerState &state, LoginItem &loginItem,
                                     QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      m_state(state), m_loginItem(loginItem),
      m_theme(&Theme::forAppearance(state.appearancePreference()))
{
    setWindowTitle(tr("Quillstash Preferences"));
    setFixedSize(windowSize);
    setAutoFillBackground(true);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(tabBar());
    auto *divider = new QWidget;
    divider->setObjectName(QStringLiteral("divider"));
    divider->setFixedHeight(1);
    divider->setAutoFillBackground(true);
    column->addWidget(divider);

    m_pages = new QStackedWidget;
    m_pages->setObjectName(QStringLiteral("pages"));
    m_pages->addWidget(scrolling(generalPage()));
    m_pages->addWidget(scrolling(securityPage()));
    m_pages->addWidget(shortcutsPage());
    column->addWidget(m_pages, 1);

    connect(&m_state, &ClipboardManagerState::changed, this, &PreferencesWindow::refresh);
    applyTheme();
    refresh();
}

void PreferencesWindow::present()
{
    CentredWindow::present(*this);
}

void PreferencesWindow::setHotKeyHelp(QWidget *panel)
{
    auto *rows = findChild<QWidget *>(QStringLiteral("shortcutRows"));
    if (auto *column = rows ? qobject_cast<QVBoxLayout *>(rows->layout()) : nullptr)
        column->insertWidget(0, panel);
}

void PreferencesWindow::showEvent(QShowEvent *event)
{
    // The login entry may have changed outside the program since the window last showed.
    const QSignalBlocker blocker(m_startAtLogin);
    m_startAtLogin->setChecked(m_loginItem.isEnabled());
    QWidget::showEvent(event);
}

QWidget *PreferencesWindow::tabBar()
{
    auto *bar = new TintedBox(m_theme, 0.06, 0);
    bar->setObjectName(QStringLiteral("tabBar"));
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(20, 12, 20, 12);
    row->setSpacing(8);
    auto *group = new QButtonGroup(bar);
    for (std::size_t i = 0; i < allPreferencesTabs.size(); ++i) {
        const PreferencesTab tab = allPreferencesTabs[i];
        auto *button = new TabButton(tab, m_theme);
        button->setObjectName(QStringLiteral("tab") +
                              rawValue(tab).section(QLatin1Char(' '), 0, 0));
        group->addButton(button);
        connect(button, &QAbstractButton::clicked, this,
                [this, tab] { m_state.setSelectedPreferencesTab(tab); });
        row->addWidget(button);
        m_tabButtons[i] = button;
    }
    row->addStretch();
    return bar;
}

QWidget *PreferencesWindow::stepper(const QString &caption, const QString &name, QLabel *&value,
                                    QToolButton *&less, QToolButton *&more)
{
    auto *widget = new QWidget;
    auto *row = new QHBoxLayout(widget);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    row->addWidget(textLabel(caption, ViewFonts::ui(12.5)));
    value = new TintedLabel(m_theme, 0.12, ViewFonts::monospaced(13, QFont::DemiBold));
    value->setObjectName(name + QStringLiteral("Value"));
    value->setAlignment(Qt::AlignCenter);
    value->setFixedSize(32, 22);
    row->addWidget(value);
    // A stepper: a pair of small buttons that move the value by one.
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(0);
    less = new QToolButton;
    less->setText(QStringLiteral("−"));
    less->setObjectName(name + QStringLiteral("Less"));
    less->setAccessibleName(tr("Decrease %1").arg(caption));
    more = new QToolButton;
    more->setText(QStringLiteral("+"));
    more->setObjectName(name + QStringLiteral("More"));
    more->setAccessibleName(tr("Increase %1").arg(caption));
    for (QToolButton *button : {less, more}) {
        button->setFixedSize(20, 22);
        button->setAutoRepeat(true);
        buttons->addWidget(button);
    }
    row->addLayout(buttons);
    return widget;
}

QWidget *PreferencesWindow::generalPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("generalPage"));
    auto *column = pageColumn(page);

    QVBoxLayout *grid = sectionBox(column, tr("Grid Layout (Rows & Columns)"), 10, m_theme);
    auto *steppers = new QHBoxLayout;
    steppers->setSpacing(28);
    steppers->addWidget(
        stepper(tr("Rows:"), QStringLiteral("rows"), m_rowsValue, m_fewerRows, m_moreRows));
    steppers->addWidget(stepper(tr("Columns:"), QStringLiteral("columns"), m_columnsValue,
                                m_fewerColumns, m_moreColumns));
    steppers->addStretch();
    grid->addLayout(steppers);
    connect(m_fewerRows, &QToolButton::clicked, this, [this] { m_state.decrementRows(); });
    connect(m_moreRows, &QToolButton::clicked, this, [this] { m_state.incrementRows(); });
    connect(m_fewerColumns, &QToolButton::clicked, this, [this] { m_state.decrementColumns(); });
    connect(m_moreColumns, &QToolButton::clicked, this, [this] { m_state.incrementColumns(); });
    const auto ctrl = Qt::ControlModifier;
    const auto ctrlAlt = Qt::ControlModifier | Qt::AltModifier;
    grid->addWidget(noteLabel(tr("Shortcuts: %1 / %2 for Rows, %3 / %4 for Columns")
                                  .arg(keys(QKeySequence(ctrl | Qt::Key_Plus)),
                                       keys(QKeySequence(ctrl | Qt::Key_Minus)),
                                       keys(QKeySequence(ctrlAlt | Qt::Key_Plus)),
                                       keys(QKeySequence(ctrlAlt | Qt::Key_Minus))),
                              *m_theme));
    auto *presets = new QHBoxLayout;
    presets->setSpacing(8);
    struct Preset {
        QString title;
        QString name;
        int rows;
        int columns;
    };
    for (const Preset &preset :
         {Preset{tr("3 × 3 Default Grid"), QStringLiteral("preset3x3"), 3, 3},
          Preset{tr("6 × 1 List Layout"), QStringLiteral("preset6x1"), 6, 1},
          Preset{tr("4 × 4 Dense Grid"), QStringLiteral("preset4x4"), 4, 4}}) {
        QPushButton *button = pushButton(preset.title, preset.name, 11);
        connect(button, &QPushButton::clicked, this, [this, preset] {
            m_state.setGridRows(preset.rows);
            m_state.setGridColumns(preset.columns);
        });
        presets->addWidget(button);
    }
    presets->addStretch();
    grid->addLayout(presets);

    QVBoxLayout *behaviour = sectionBox(column, tr("Appearance & Behavior"), 12, m_theme);
    auto *appearanceRow = new QHBoxLayout;
    appearanceRow->setSpacing(12);
    auto *caption = textLabel(tr("Appearance:"), ViewFonts::ui(12.5));
    caption->setFixedWidth(110);
    appearanceRow->addWidget(caption);
    auto *segments = new QHBoxLayout;
    segments->setSpacing(0);
    auto *segmentGroup = new QButtonGroup(this);
    for (std::size_t i = 0; i < allAppearancePreferences.size(); ++i) {
        const AppearancePreference appearance = allAppearancePreferences[i];
        QPushButton *segment = pushButton(tr(qPrintable(rawValue(appearance))),
                                          QStringLiteral("appearance") + rawValue(appearance));
        segment->setCheckable(true);
        segment->setFixedWidth(80);
        segmentGroup->addButton(segment);
        connect(segment, &QPushButton::clicked, this,
                [this, appearance] { m_state.setAppearancePreference(appearance); });
        segments->addWidget(segment);
        m_appearanceButtons[i] = segment;
    }
    appearanceRow->addLayout(segments);
    appearanceRow->addStretch();
    behaviour->addLayout(appearanceRow);

    m_autoPaste = toggle(tr("Paste directly into frontmost application on double-click / Enter"),
                         QStringLiteral("autoPaste"));
    connect(m_autoPaste, &QCheckBox::toggled, this,
            [this](bool on) { m_state.setAutoPasteIntoFrontmostApp(on); });
    behaviour->addWidget(m_autoPaste);
    m_fullCardColor = toggle(tr("Full-card background fill for Color clippings"),
                             QStringLiteral("fullCardColor"));
    connect(m_fullCardColor, &QCheckBox::toggled, this,
            [this](bool on) { m_state.setFullCardColorPreview(on); });
    behaviour->addWidget(m_fullCardColor);

    auto *resetRow = new QHBoxLayout;
    resetRow->setSpacing(12);
    resetRow->addWidget(textLabel(tr("Reset sidebar & search after hiding:"), ViewFonts::ui(12.5)));
    m_resetPicker = new QComboBox;
    m_resetPicker->setObjectName(QStringLiteral("resetPicker"));
    m_resetPicker->setAccessibleName(tr("Reset sidebar & search after hiding"));
    m_resetPicker->setFixedWidth(160);
    fillPicker(m_resetPicker, {{tr("Never"), 0},
                               {tr("After 30 seconds"), 30},
                               {tr("After 1 minute"), 60},
                               {tr("After 5 minutes"), 300}});
    connect(m_resetPicker, &QComboBox::activated, this, [this](int index) {
        m_state.setResetFiltersAfterSeconds(m_resetPicker->itemData(index).toInt());
    });
    resetRow->addWidget(m_resetPicker);
    resetRow->addStretch();
    behaviour->addLayout(resetRow);
    return page;
}

QWidget *PreferencesWindow::securityPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("securityPage"));
    auto *column = pageColumn(page);

    QVBoxLayout *passwords = sectionBox(column, tr("Passwords & Sensitive Data"), 10, m_theme);
    m_ignorePasswords = toggle(tr("Ignore passwords copied from password managers"),
                               QStringLiteral("ignorePasswords"));
    connect(m_ignorePasswords, &QCheckBox::toggled, this,
            [this](bool on) { m_state.setIgnorePasswords(on); });
    passwords->addWidget(m_ignorePasswords);
    passwords->addWidget(
        noteLabel(tr("When disabled, sensitive clippings are visually obfuscated (••••) on screen "
                     "and encrypted with AES-256-GCM on disk. Hold %1 to reveal them "
                     "temporarily.")
                      .arg(KeyLabels::alt()),
                  *m_theme));

    QVBoxLayout *storage = sectionBox(column, tr("Storage & History Capacity"), 12, m_theme);
    // Here rather than on General, which has no room left for another row.
    m_startAtLogin = toggle(tr("Start Quillstash at login"), QStringLiteral("startAtLogin"));
    connect(m_startAtLogin, &QCheckBox::toggled, this, [this](bool on) {
        m_loginItem.setEnabled(on);
        // Show what the desktop will really do, also when the entry could not be changed.
        const QSignalBlocker blocker(m_startAtLogin);
        m_startAtLogin->setChecked(m_loginItem.isEnabled());
    });
    storage->addWidget(m_startAtLogin);
    auto *historyRow = new QHBoxLayout;
    historyRow->setSpacing(12);
    historyRow->addWidget(textLabel(tr("Keep in History:"), ViewFonts::ui(12.5)));
    m_historyPicker = new QComboBox;
    m_historyPicker->setObjectName(QStringLiteral("historyPicker"));
    m_historyPicker->setAccessibleName(tr("Keep in History"));
    m_historyPicker->setFixedWidth(210);
    fillPicker(
        m_historyPicker,
        {{tr("20 Clippings"), 20}, {tr("1,000 Clippings"), 1000}, {tr("10,000 Clippings"), 10000}});
    connect(m_historyPicker, &QComboBox::activated, this, [this](int index) {
        m_state.setHistoryLimit(m_historyPicker->itemData(index).toInt());
    });
    historyRow->addWidget(m_historyPicker);
    historyRow->addStretch();
    storage->addLayout(historyRow);

    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 4, 0, 0);
    QPushButton *clear =
        pushButton(tr("Clear Non-Favorite History"), QStringLiteral("clearHistory"));
    connect(clear, &QPushButton::clicked, this, [this] { m_state.clearHistory(); });
    buttons->addWidget(clear);
    QPushButton *demo = pushButton(tr("Restore Demo Clippings"), QStringLiteral("restoreDemo"));
    connect(demo, &QPushButton::clicked, this, [this] { m_state.resetToShowcaseData(); });
    buttons->addWidget(demo);
    buttons->addStretch();
    storage->addLayout(buttons);
    return page;
}

QWidget *PreferencesWindow::shortcutsPage()
{
    auto *scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("shortcutsPage"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto *content = new QWidget;
    content->setObjectName(QStringLiteral("shortcutRows"));
    auto *column = new QVBoxLayout(content);
    column->setContentsMargins(20, 20, 20, 20);
    column->setSpacing(7);
    // This desktop's key names run longer than symbols: the column grows to the longest.
    const QFont keyFont = ViewFonts::monospaced(11.5, QFont::DemiBold);
    int keyColumn = 135;
    for (const ShortcutRow &shortcut : shortcutRows())
        keyColumn =
            std::max(keyColumn, QFontMetrics(keyFont).horizontalAdvance(shortcut.keys) + 14);
    for (const ShortcutRow &shortcut : shortcutRows()) {
        auto *row = new QHBoxLayout;
        row->setSpacing(12);
        auto *cell = new QWidget;
        cell->setFixedWidth(keyColumn);
        auto *cellRow = new QHBoxLayout(cell);
        cellRow->setContentsMargins(0, 0, 0, 0);
        auto *key = new TintedLabel(m_theme, 0.14, keyFont);
        key->setObjectName(QStringLiteral("keys"));
        key->setText(shortcut.keys);
        key->setContentsMargins(6, 2, 6, 2);
        cellRow->addWidget(key);
        cellRow->addStretch();
        row->addWidget(cell);
        QLabel *description = noteLabel(shortcut.description, *m_theme);
        description->setObjectName(QStringLiteral("description"));
        description->setFont(ViewFonts::ui(12));
        row->addWidget(description, 1);
        column->addLayout(row);
    }
    column->addStretch();
    scroll->setWidget(content);
    return scroll;
}

void PreferencesWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ApplicationPaletteChange) {
        Theme::followDesktop();
        m_theme = nullptr;
        refresh();
    }
    QWidget::changeEvent(event);
}

void PreferencesWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

void PreferencesWindow::refresh()
{
    const Theme *theme = &Theme::forAppearance(m_state.appearancePreference());
    if (theme != m_theme) {
        m_theme = theme;
        applyTheme();
    }
    const auto tabIndex =
        std::size_t(std::find(allPreferencesTabs.begin(), allPreferencesTabs.end(),
                              m_state.selectedPreferencesTab()) -
                    allPreferencesTabs.begin());
    m_tabButtons[tabIndex]->setChecked(true);
    m_pages->setCurrentIndex(int(tabIndex));

    const int rows = m_state.gridRows();
    const int columns = m_state.gridColumns();
    m_rowsValue->setText(QString::number(rows));
    m_columnsValue->setText(QString::number(columns));
    m_fewerRows->setEnabled(rows > 1);
    m_moreRows->setEnabled(rows < maximumRows);
    m_fewerColumns->setEnabled(columns > 1);
    m_moreColumns->setEnabled(columns < maximumColumns);

    for (std::size_t i = 0; i < allAppearancePreferences.size(); ++i)
        m_appearanceButtons[i]->setChecked(allAppearancePreferences[i] ==
                                           m_state.appearancePreference());
    for (const auto &[box, on] : {std::pair{m_autoPaste, m_state.autoPasteIntoFrontmostApp()},
                                  std::pair{m_fullCardColor, m_state.fullCardColorPreview()},
                                  std::pair{m_ignorePasswords, m_state.ignorePasswords()}}) {
        const QSignalBlocker blocker(box);
        box->setChecked(on);
    }
    showValue(m_resetPicker, m_state.resetFiltersAfterSeconds());
    showValue(m_historyPicker, m_state.historyLimit());
}

void PreferencesWindow::applyTheme()
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, m_theme->barBackground);
    palette.setColor(QPalette::WindowText, m_theme->primaryText);
    palette.setColor(QPalette::Text, m_theme->primaryText);
    palette.setColor(QPalette::ButtonText, m_theme->primaryText);
    palette.setColor(QPalette::Button, m_theme->barBackground);
    palette.setColor(QPalette::Base, m_theme->barBackground);
    palette.setColor(QPalette::Highlight, m_theme->accent);
    setPalette(palette);
    const QString secondary =
        QStringLiteral("color: %1;").arg(m_theme->secondaryText.name(QColor::HexArgb));
    for (QLabel *note : findChildren<QLabel *>())
        if (note->objectName() == u"note" || note->objectName() == u"description")
            note->setStyleSheet(secondary);
    if (auto *divider = findChild<QWidget *>(QStringLiteral("divider"))) {
        QPalette line = divider->palette();
        line.setColor(QPalette::Window, withOpacity(m_theme->secondaryText, 0.35));
        divider->setPalette(line);
    }
    // On the controls, not the window: a window's style sheet would repaint the pages in the
    // desktop's colours.
    const QString controls = ControlStyles::controls(*m_theme);
    for (QWidget *control : findChildren<QWidget *>())
        if (qobject_cast<QPushButton *>(control) || qobject_cast<QToolButton *>(control) ||
            qobject_cast<QComboBox *>(control))
            control->setStyleSheet(controls);
    // One segmented control: rounded only at its two ends, the selected segment in the accent.
    const QString segmentStyle =
        QStringLiteral("QPushButton { background-color: %1; color: %2; border: 1px solid %3;"
                       " border-radius: 0px; padding: 2px 0px; }"
                       " QPushButton:checked { background-color: %4; border-color: %4;"
                       " color: white; }")
            .arg(withOpacity(m_theme->secondaryText, 0.16).name(QColor::HexArgb),
                 m_theme->primaryText.name(QColor::HexArgb),
                 withOpacity(m_theme->secondaryText, 0.4).name(QColor::HexArgb),
                 m_theme->accent.name(QColor::HexArgb));
    const QString firstEnd = QStringLiteral(
        " QPushButton { border-top-left-radius: 5px; border-bottom-left-radius: 5px; }");
    const QString lastEnd = QStringLiteral(
        " QPushButton { border-top-right-radius: 5px; border-bottom-right-radius: 5px; }");
    for (std::size_t i = 0; i < m_appearanceButtons.size(); ++i)
        m_appearanceButtons[i]->setStyleSheet(segmentStyle + (i == 0 ? firstEnd
                                                              : i + 1 == m_appearanceButtons.size()
                                                                  ? lastEnd
                                                                  : QString()));
    if (auto *clear = findChild<QPushButton *>(QStringLiteral("clearHistory")))
        clear->setStyleSheet(QStringLiteral("QPushButton { color: %1; }").arg(m_theme->red.name()));
    update();
}
