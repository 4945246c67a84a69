#include "aboutwindow.h"

#include "artwork/appiconprovider.h"
#include "board/clipboardmanagerstate.h"
#include "centredwindow.h"
#include "update/programversion.h"
#include "views/foundation/controlstyles.h"
#include "views/foundation/symbols.h"
#include "views/foundation/theme.h"
#include "views/foundation/viewfonts.h"

#include <QGraphicsDropShadowEffect>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace
{

constexpr QSize windowSize(380, 370);
constexpr int sidePadding = 22;
constexpr int columnSpacing = 12;
constexpr int logoSize = 76;

QColor withOpacity(QColor colour, qreal opacity)
{
    colour.setAlphaF(float(std::min(1.0, colour.alphaF() * opacity)));
    return colour;
}

// A rounded rectangle filled with one colour behind its children.
class TintedPanel final : public QWidget
{
public:
    TintedPanel(QColor fill, qreal radius) : m_fill(std::move(fill)), m_radius(radius) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(m_fill);
        painter.drawRoundedRect(QRectF(rect()), m_radius, m_radius);
    }

private:
    QColor m_fill;
    qreal m_radius;
};

class SymbolView final : public QWidget
{
public:
    SymbolView(QString name, QColor colour, qreal size)
        : m_name(std::move(name)), m_colour(std::move(colour)), m_size(size)
    {
        const int side = qCeil(size) + 2;
        setFixedSize(side, side);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        Symbols::draw(painter, m_name, QRectF(rect()), m_size, m_colour);
    }

private:
    QString m_name;
    QColor m_colour;
    qreal m_size;
};

// Text on a capsule of its colour, faint. It and the divider follow the window's theme pointer.
class CapsuleBadge final : public QWidget
{
public:
    CapsuleBadge(QString text, QFont font, const Theme *const &theme)
        : m_text(std::move(text)), m_theme(theme)
    {
        setFont(font);
        const QFontMetricsF metrics(font);
        setFixedSize(qCeil(metrics.horizontalAdvance(m_text) + 2 * 10),
                     qCeil(metrics.height() + 2 * 2.5));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF area(rect());
        painter.setPen(Qt::NoPen);
        painter.setBrush(withOpacity(m_theme->secondaryText, 0.12));
        painter.drawRoundedRect(area, area.height() / 2, area.height() / 2);
        painter.setPen(m_theme->secondaryText);
        painter.drawText(area, Qt::AlignCenter, m_text);
    }

private:
    QString m_text;
    const Theme *const &m_theme;
};

class Divider final : public QWidget
{
public:
    explicit Divider(const Theme *const &theme) : m_theme(theme)
    {
        setFixedHeight(1);
        setContentsMargins(24, 0, 24, 0);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(contentsRect(), withOpacity(m_theme->secondaryText, 0.35));
    }

private:
    const Theme *const &m_theme;
};

QLabel *logo(QWidget *parent)
{
    auto *label = new QLabel(parent);
    const qreal ratio = parent->devicePixelRatioF();
    QImage image = AppIconProvider::drawBrandLogoImage(256).scaled(
        QSize(logoSize, logoSize) * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    image.setDevicePixelRatio(ratio);
    label->setPixmap(QPixmap::fromImage(image));
    label->setFixedSize(logoSize, logoSize);
    label->setAccessibleName(AboutWindow::tr("Quillstash logo"));
    auto *shadow = new QGraphicsDropShadowEffect(label);
    shadow->setColor(QColor::fromRgbF(0, 0, 0, 0.22f));
    shadow->setBlurRadius(8);
    shadow->setOffset(0, 4);
    label->setGraphicsEffect(shadow);
    return label;
}

QLabel *textLabel(const QString &text, const QFont &font, const QColor &colour)
{
    auto *label = new QLabel(text);
    // Some texts come from the update server.
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    // Without a colour of its own it follows the window's text colour.
    if (colour.isValid()) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, colour);
        label->setPalette(palette);
    }
    return label;
}

QPushButton *button(const QString &text, const QFont &font, const QString &name)
{
    auto *pushButton = new QPushButton(text);
    pushButton->setFont(font);
    pushButton->setObjectName(name);
    pushButton->setCursor(Qt::PointingHandCursor);
    pushButton->setAutoDefault(false);
    return pushButton;
}

// Later, since a button of the old contents may be in the middle of its click.
void clear(QLayout *layout)
{
    while (QLayoutItem *item = layout->takeAt(0)) {
        if (QWidget *widget = item->widget()) {
            widget->hide();
            widget->deleteLater();
        }
        delete item;
    }
}

} // namespace

AboutWindow::AboutWindow(ClipboardManagerState &state, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      m_state(state)
{
    setWindowTitle(tr("About Quillstash"));
    setFixedSize(windowSize);
    setAutoFillBackground(true);

    auto *column = new QVBoxLayout(this);
    // The first element is a spacer of 2, and spacers take no spacing of their own here.
    column->setContentsMargins(sidePadding, 2 + columnSpacing, sidePadding, 0);
    column->setSpacing(columnSpacing);

    column->addWidget(logo(this), 0, Qt::AlignHCenter);

    auto *titles = new QVBoxLayout;
    titles->setSpacing(4);
    auto *name = textLabel(tr("Quillstash"), ViewFonts::ui(19, QFont::Bold), QColor());
    name->setObjectName(QStringLiteral("programName"));
    titles->addWidget(name, 0, Qt::AlignHCenter);
    const QString version =
        tr("Version %1 (Build %2)").arg(ProgramVersion::text()).arg(ProgramVersion::build());
    auto *badge = new CapsuleBadge(version, ViewFonts::monospaced(11.5, QFont::Medium), m_theme);
    badge->setObjectName(QStringLiteral("versionBadge"));
    badge->setAccessibleName(version);
    titles->addWidget(badge, 0, Qt::AlignHCenter);
    column->addLayout(titles);

    m_statusSection = new QWidget;
    m_statusSection->setObjectName(QStringLiteral("updateStatus"));
    m_statusLayout = new QVBoxLayout(m_statusSection);
    m_statusLayout->setContentsMargins(0, 0, 0, 0);
    column->addWidget(m_statusSection);

    column->addWidget(new Divider(m_theme));

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(10);
    m_checkButton = button(tr("Check for Updates..."), ViewFonts::ui(12, QFont::Medium),
                           QStringLiteral("checkForUpdatesButton"));
    connect(m_checkButton, &QPushButton::clicked, this, [this] { m_state.performUpdateCheck(); });
    m_okButton = button(tr("OK"), ViewFonts::ui(12, QFont::DemiBold), QStringLiteral("okButton"));
    m_okButton->setFixedWidth(84);
    connect(m_okButton, &QPushButton::clicked, this, &QWidget::hide);
    buttons->addStretch();
    buttons->addWidget(m_checkButton);
    buttons->addWidget(m_okButton);
    buttons->addStretch();
    column->addLayout(buttons);
    column->addStretch();

    connect(&m_state, &ClipboardManagerState::changed, this, &AboutWindow::refresh);
    refresh();
}

void AboutWindow::present()
{
    CentredWindow::present(*this);
}

void AboutWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ApplicationPaletteChange) {
        Theme::followDesktop();
        m_shown.reset();
        refresh();
    }
    QWidget::changeEvent(event);
}

void AboutWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

void AboutWindow::refresh()
{
    const Shown now{m_state.updateCheckStatus(), m_state.copiedBrewUpgradeCommand(),
                    &Theme::forAppearance(m_state.appearancePreference())};
    if (m_shown == now)
        return;
    const bool themeChanged = !m_shown || m_shown->theme != now.theme;
    const bool statusChanged = themeChanged || m_shown->status != now.status;
    m_shown = now;
    m_theme = now.theme;
    if (themeChanged)
        applyTheme();
    if (statusChanged)
        rebuildStatus();
    if (m_copyButton)
        m_copyButton->setText(copyButtonText());
}

QString AboutWindow::copyButtonText() const
{
    return m_shown->copiedCommand ? tr("✓ Copied upgrade command") : tr("Copy upgrade command");
}

void AboutWindow::applyTheme()
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, m_theme->barBackground);
    palette.setColor(QPalette::WindowText, m_theme->primaryText);
    palette.setColor(QPalette::Button, m_theme->barBackground);
    palette.setColor(QPalette::ButtonText, m_theme->primaryText);
    palette.setColor(QPalette::Highlight, m_theme->accent);
    setPalette(palette);
    m_checkButton->setStyleSheet(ControlStyles::button(*m_theme, false, 3, 12));
    m_okButton->setStyleSheet(ControlStyles::button(*m_theme, true, 3, 12));
    update();
}

void AboutWindow::rebuildStatus()
{
    clear(m_statusLayout);
    m_copyButton = nullptr;
    const UpdateCheckStatus &status = m_shown->status;
    QWidget *shown = nullptr;
    if (status.is<UpdateCheckStatus::Checking>())
        shown = checkingRow();
    else if (const auto *current = status.as<UpdateCheckStatus::UpToDate>())
        shown = upToDatePanel(*current);
    else if (const auto *available = status.as<UpdateCheckStatus::UpdateAvailable>())
        shown = updateAvailablePanel(*available);
    else if (const auto *failed = status.as<UpdateCheckStatus::Failed>())
        shown = failureMessage(*failed);
    if (shown)
        m_statusLayout->addWidget(shown, 0, Qt::AlignHCenter);
    m_statusSection->setVisible(shown != nullptr);
}

QWidget *AboutWindow::checkingRow()
{
    auto *row = new QWidget;
    row->setObjectName(QStringLiteral("checkingRow"));
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 4, 0, 4);
    layout->setSpacing(8);
    auto *progress = new QProgressBar;
    progress->setRange(0, 0);
    progress->setTextVisible(false);
    progress->setFixedSize(48, 6);
    layout->addWidget(progress, 0, Qt::AlignVCenter);
    layout->addWidget(textLabel(tr("Checking for updates..."), ViewFonts::ui(11.5, QFont::Medium),
                                m_theme->secondaryText),
                      0, Qt::AlignVCenter);
    return row;
}

QWidget *AboutWindow::upToDatePanel(const UpdateCheckStatus::UpToDate &current)
{
    auto *panel = new TintedPanel(withOpacity(m_theme->green, 0.12), 7);
    panel->setObjectName(QStringLiteral("upToDatePanel"));
    auto *layout = new QHBoxLayout(panel);
    layout->setContentsMargins(12, 6, 12, 6);
    layout->setSpacing(6);
    layout->addWidget(new SymbolView(QStringLiteral("checkmark.circle.fill"), m_theme->green, 13));
    layout->addWidget(
        textLabel(tr("You’re up to date! (v%1 is the latest version)").arg(current.version),
                  ViewFonts::ui(11.5, QFont::Medium), m_theme->primaryText));
    return panel;
}

QWidget *AboutWindow::updateAvailablePanel(const UpdateCheckStatus::UpdateAvailable &available)
{
    auto *panel = new TintedPanel(withOpacity(m_theme->blue, 0.12), 8);
    panel->setObjectName(QStringLiteral("updateAvailablePanel"));
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(12, 8, 12, 8);
    layout->setSpacing(6);

    auto *headline = new QHBoxLayout;
    headline->setSpacing(5);
    headline->addWidget(
        new SymbolView(QStringLiteral("arrow.down.circle.fill"), m_theme->blue, 13));
    headline->addWidget(textLabel(tr("Update Available: v%1 (Build %2)")
                                      .arg(available.info.version)
                                      .arg(available.info.build),
                                  ViewFonts::ui(11.5, QFont::Bold), m_theme->primaryText));
    layout->addLayout(headline);

    auto *actions = new QHBoxLayout;
    actions->setSpacing(8);
    auto *download = button(tr("Download"), ViewFonts::ui(11, QFont::DemiBold),
                            QStringLiteral("downloadButton"));
    download->setStyleSheet(ControlStyles::button(*m_theme, true, 2, 8));
    connect(download, &QPushButton::clicked, this, [this] { m_state.openUpdateDownload(); });
    auto *copy = button(copyButtonText(), ViewFonts::monospaced(11, QFont::Medium),
                        QStringLiteral("copyUpgradeCommandButton"));
    m_copyButton = copy;
    copy->setStyleSheet(ControlStyles::button(*m_theme, false, 2, 8));
    connect(copy, &QPushButton::clicked, this, [this] { m_state.copyBrewUpgradeToPasteboard(); });
    actions->addWidget(download);
    actions->addWidget(copy);
    layout->addLayout(actions);
    layout->setAlignment(headline, Qt::AlignHCenter);
    layout->setAlignment(actions, Qt::AlignHCenter);
    return panel;
}

QWidget *AboutWindow::failureMessage(const UpdateCheckStatus::Failed &failed)
{
    QLabel *label = textLabel(failed.message, ViewFonts::ui(11), m_theme->orange);
    label->setObjectName(QStringLiteral("failureMessage"));
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->setContentsMargins(10, 0, 10, 0);
    label->setFixedWidth(windowSize.width() - 2 * sidePadding);
    return label;
}
