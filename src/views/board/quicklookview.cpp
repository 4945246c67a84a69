#include "quicklookview.h"

#include "artwork/appiconprovider.h"
#include "board/clipboardmanagerstate.h"
#include "model/colorhex.h"
#include "previewtext.h"
#include "toolbarbutton.h"
#include "views/cards/checkerboard.h"
#include "views/cards/clippingfacts.h"
#include "views/foundation/controlstyles.h"
#include "views/foundation/keylabels.h"
#include "views/foundation/symbols.h"
#include "views/foundation/theme.h"
#include "views/foundation/viewfonts.h"

#include <QApplication>
#include <QBuffer>
#include <QGraphicsDropShadowEffect>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QStackedWidget>
#include <QThreadPool>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

namespace
{

constexpr qreal panelRadius = 10;

void setTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    palette.setColor(QPalette::Base, Qt::transparent);
    widget->setPalette(palette);
}

// The panel's own backgrounds: both bars and the content area, clipped to its rounded shape.
class PreviewPanel final : public QWidget
{
public:
    explicit PreviewPanel(const Theme *const &theme) : m_theme(theme) {}

    void setBars(const QWidget *title, const QWidget *bottom)
    {
        m_titleBar = title;
        m_bottomBar = bottom;
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        const Theme &theme = *m_theme;
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF area(rect());
        QPainterPath shape;
        shape.addRoundedRect(area, panelRadius, panelRadius);
        painter.setClipPath(shape);
        painter.fillRect(area, theme.previewContent);
        // The bars are as tall as their content and padding make them.
        const QRectF title(m_titleBar->geometry());
        const QRectF bottom(m_bottomBar->geometry());
        painter.fillRect(title, theme.previewBar);
        painter.fillRect(bottom, theme.previewBar);
        painter.fillRect(QRectF(0, title.bottom(), area.width(), 1), theme.barSeparator);
        painter.fillRect(QRectF(0, bottom.top() - 1, area.width(), 1), theme.barSeparator);
        painter.setClipping(false);
        painter.setPen(QPen(theme.previewOutline, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(area.adjusted(0.5, 0.5, -0.5, -0.5), panelRadius, panelRadius);
    }

private:
    const Theme *const &m_theme;
    const QWidget *m_titleBar = nullptr;
    const QWidget *m_bottomBar = nullptr;
};

// The drawn content: an image on the checkerboard, a colour swatch or a file summary.
class PreviewPicture final : public QWidget
{
public:
    explicit PreviewPicture(const Theme *const &theme) : m_theme(theme) {}

    void setItem(const ClippingItem &item)
    {
        m_item = item;
        m_image = QImage();
        m_imageRoom = QSizeF();
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (!m_item)
            return;
        const Theme &theme = *m_theme;
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        const QRectF area(rect());
        switch (m_item->type) {
        case ClippingType::Image:
            paintImage(painter, area, theme);
            return;
        case ClippingType::Color:
            paintColour(painter, area, theme);
            return;
        default:
            paintFile(painter, area, theme);
            return;
        }
    }

private:
    // Decoded once, at the size it is shown.
    void decodeImage(const QSizeF &room)
    {
        m_imageRoom = room;
        m_image = QImage();
        if (!m_item->imageData)
            return;
        QBuffer buffer;
        buffer.setData(*m_item->imageData);
        QImageReader reader(&buffer);
        const qreal ratio = devicePixelRatioF();
        const QSize shown = (room * ratio).toSize();
        if (const QSize size = reader.size(); size.isValid())
            reader.setScaledSize(size.scaled(shown, Qt::KeepAspectRatio));
        m_image = reader.read();
        if (m_image.isNull())
            return;
        // Some readers cannot tell the size before decoding.
        if (const QSize fitted = m_image.size().scaled(shown, Qt::KeepAspectRatio);
            fitted != m_image.size())
            m_image = m_image.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        m_image.setDevicePixelRatio(ratio);
    }

    void paintImage(QPainter &painter, const QRectF &area, const Theme &theme)
    {
        Checkerboard::paint(painter, area, theme);
        const QRectF room = area.adjusted(24, 24, -24, -24);
        if (m_imageRoom != room.size())
            decodeImage(room.size());
        if (m_image.isNull())
            return;
        QRectF target(QPointF(), m_image.deviceIndependentSize());
        target.moveCenter(room.center());
        painter.drawImage(target, m_image);
    }

    void paintColour(QPainter &painter, const QRectF &area, const Theme &theme)
    {
        const QString text = m_item->colorHex.value_or(m_item->textContent);
        const QFont font = ViewFonts::monospaced(22, QFont::Bold);
        const qreal textHeight = QFontMetricsF(font).height();
        const qreal total = 140 + 16 + textHeight;
        QRectF swatch(0, 0, 140, 140);
        swatch.moveCenter(QPointF(area.center().x(), area.center().y() - total / 2 + 70));
        for (int step = 6; step >= 1; step -= 2) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor::fromRgbF(0, 0, 0, float(0.33 / 6)));
            painter.drawRoundedRect(
                swatch.adjusted(-step / 2.0, -step / 2.0, step / 2.0, step / 2.0), 12 + step / 2.0,
                12 + step / 2.0);
        }
        painter.setBrush(colorFromHex(text));
        painter.drawRoundedRect(swatch, 12, 12);
        painter.setFont(font);
        painter.setPen(theme.strongText);
        painter.drawText(QRectF(area.left(), swatch.bottom() + 16, area.width(), textHeight),
                         Qt::AlignCenter, text);
    }

    void paintFile(QPainter &painter, const QRectF &area, const Theme &theme)
    {
        const QImage icon = AppIconProvider::drawSketchDocumentIcon(2);
        const QFont nameFont = ViewFonts::ui(16, QFont::DemiBold);
        const QFont pathFont = ViewFonts::monospaced(12);
        const qreal nameHeight = QFontMetricsF(nameFont).height();
        const qreal pathHeight = m_item->filePath ? QFontMetricsF(pathFont).height() + 12 : 0;
        const qreal total = 112 + 12 + nameHeight + pathHeight;
        qreal y = area.center().y() - total / 2;
        painter.drawImage(QRectF(area.center().x() - 48, y, 96, 112), icon);
        y += 112 + 12;
        painter.setFont(nameFont);
        painter.setPen(theme.strongText);
        const QString name = m_item->fileName.value_or(m_item->textContent);
        painter.drawText(
            QRectF(area.left() + 16, y, area.width() - 32, nameHeight), Qt::AlignCenter,
            QFontMetricsF(nameFont).elidedText(name, Qt::ElideMiddle, area.width() - 32));
        if (!m_item->filePath)
            return;
        y += nameHeight + 12;
        painter.setFont(pathFont);
        painter.setPen(theme.secondaryText);
        painter.drawText(QRectF(area.left() + 16, y, area.width() - 32, pathHeight),
                         Qt::AlignHCenter | Qt::AlignTop,
                         QFontMetricsF(pathFont).elidedText(*m_item->filePath, Qt::ElideMiddle,
                                                            area.width() - 32));
    }

    const Theme *const &m_theme;
    std::optional<ClippingItem> m_item;
    QImage m_image;
    QSizeF m_imageRoom;
};

} // namespace

QuickLookView::QuickLookView(ClipboardManagerState &state, const Theme *const &theme,
                             QWidget *parent)
    : QWidget(parent), m_state(state), m_theme(theme)
{
    setAccessibleName(tr("Quick Look"));
    hide();
    m_panel = new PreviewPanel(theme);
    m_panel->setParent(this);
    m_panel->setFixedSize(panelSize);
    auto *shadow = new QGraphicsDropShadowEffect(m_panel);
    shadow->setColor(QColor::fromRgbF(0, 0, 0, 0.45f));
    shadow->setBlurRadius(40);
    shadow->setOffset(0, 10);
    m_panel->setGraphicsEffect(shadow);

    auto *column = new QVBoxLayout(m_panel);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto *titleBar = new QWidget;
    auto *title = new QHBoxLayout(titleBar);
    title->setContentsMargins(16, 10, 16, 10);
    title->setSpacing(8);
    m_icon = new QLabel;
    m_icon->setFixedSize(18, 18);
    title->addWidget(m_icon);
    auto *names = new QVBoxLayout;
    names->setSpacing(0);
    m_title = new QLabel;
    m_title->setFont(ViewFonts::ui(13, QFont::DemiBold));
    // An application's name is not markup.
    m_title->setTextFormat(Qt::PlainText);
    m_metadata = new QLabel;
    m_metadata->setObjectName(QStringLiteral("quickLookMetadata"));
    m_metadata->setTextFormat(Qt::PlainText);
    m_metadata->setFont(ViewFonts::ui(11.5));
    names->addWidget(m_title);
    names->addWidget(m_metadata);
    title->addLayout(names, 1);
    auto *close = new ToolbarButton(
        theme, QSize(20, 20), -1, [](QPainter &painter, const QRectF &frame, const Theme &t) {
            Symbols::draw(painter, u"xmark.circle.fill", frame, 16, t.secondaryText);
        });
    close->setObjectName(QStringLiteral("quickLookClose"));
    close->setAccessibleName(tr("Close"));
    close->setToolTip(tr("Close"));
    connect(close, &QAbstractButton::clicked, this,
            [this] { m_state.setQuickLookItem(std::nullopt); });
    title->addWidget(close);
    column->addWidget(titleBar);
    column->addSpacing(1);

    m_content = new QStackedWidget;
    // Wraps a word longer than the panel instead of cutting it.
    m_text = new PreviewText;
    m_text->setObjectName(QStringLiteral("quickLookText"));
    m_text->setFrameShape(QFrame::NoFrame);
    m_text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_text->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_text->setFocusPolicy(Qt::NoFocus);
    m_text->setFont(ViewFonts::monospaced(13.5));
    m_text->document()->setDocumentMargin(18);
    m_text->viewport()->setAutoFillBackground(false);
    m_content->addWidget(m_text);
    m_picture = new PreviewPicture(theme);
    m_content->addWidget(m_picture);
    column->addWidget(m_content, 1);
    column->addSpacing(1);

    auto *bottomBar = new QWidget;
    auto *bottom = new QHBoxLayout(bottomBar);
    bottom->setContentsMargins(16, 10, 16, 10);
    bottom->setSpacing(8);
    m_hint = new QLabel;
    m_hint->setObjectName(QStringLiteral("quickLookHint"));
    m_hint->setFont(ViewFonts::ui(11.5));
    bottom->addWidget(m_hint, 1);
    m_copy = new QPushButton(tr("Copy (%1)").arg(KeyLabels::label(KeyLabels::copy())));
    m_copy->setObjectName(QStringLiteral("quickLookCopy"));
    m_paste = new QPushButton(tr("Paste (%1)").arg(KeyLabels::label(KeyLabels::enter())));
    m_paste->setObjectName(QStringLiteral("quickLookPaste"));
    for (QPushButton *button : {m_copy, m_paste}) {
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoDefault(false);
        button->setCursor(Qt::PointingHandCursor);
        bottom->addWidget(button);
    }
    connect(m_copy, &QPushButton::clicked, this, [this] {
        if (!m_item)
            return;
        const ClippingItem item = *m_item;
        m_state.copyToSystemPasteboard(item, false);
        m_state.setQuickLookItem(std::nullopt);
    });
    connect(m_paste, &QPushButton::clicked, this, [this] {
        if (!m_item)
            return;
        const ClippingItem item = *m_item;
        // Closed first, so that the paste goes to the application in front.
        m_state.setQuickLookItem(std::nullopt);
        m_state.activateClipping(item, false);
    });
    column->addWidget(bottomBar);
    static_cast<PreviewPanel *>(m_panel)->setBars(titleBar, bottomBar);
    connect(&m_facts, &QFutureWatcherBase::finished, this, [this] {
        if (m_facts.isCanceled() || m_facts.future().resultCount() == 0)
            return;
        const auto &[item, facts] = m_facts.result();
        const ClippingFacts &kept = ClippingFacts::remember(item, facts);
        if (m_item && m_item->id == item.id)
            m_metadata->setText(kept.footerMetadataText);
    });
}

QRect QuickLookView::panelGeometry() const
{
    return m_panel->geometry();
}

QString QuickLookView::hintText() const
{
    return m_hint->text();
}

QString QuickLookView::shownText() const
{
    return m_text->text();
}

void QuickLookView::refresh()
{
    const std::optional<ClippingItem> item = m_state.quickLookItem();
    if (!item) {
        m_item.reset();
        m_shownMasked.reset();
        m_facts.cancel();
        m_text->setText({});
        hide();
        return;
    }
    bool changed = false;
    if (m_styledTheme != m_theme) {
        applyTheme();
        changed = true;
    }
    if (!m_item || m_item->id != item->id) {
        showItem(*item);
        changed = true;
    }
    updateMasking();
    if (isHidden()) {
        show();
        raise();
    } else if (changed) {
        update();
    }
}

void QuickLookView::showItem(const ClippingItem &item)
{
    m_item = item;
    m_shownMasked.reset();
    m_title->setText(QStringLiteral("%1 • %2").arg(item.sourceAppName, rawValue(item.type)));
    showFacts(item);
    const qreal ratio = devicePixelRatioF();
    QImage icon = AppIconProvider::shared()
                      .icon(item.sourceAppName, item.sourceAppBundleID)
                      .scaled(QSize(18, 18) * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    icon.setDevicePixelRatio(ratio);
    m_icon->setPixmap(QPixmap::fromImage(icon));
    const bool isText = item.type == ClippingType::Text || item.type == ClippingType::Url;
    m_content->setCurrentWidget(isText ? static_cast<QWidget *>(m_text) : m_picture);
    if (!isText) {
        m_text->setText({});
        static_cast<PreviewPicture *>(m_picture)->setItem(item);
    }
    // A selection would land in the primary selection, without a secret's concealment.
    m_text->setTextInteractionFlags(item.isSecret() ? Qt::NoTextInteraction
                                                    : Qt::TextSelectableByMouse);
}

void QuickLookView::showFacts(const ClippingItem &item)
{
    // Counting the characters of megabytes takes longer than a frame.
    constexpr qsizetype longText = 100'000;
    const ClippingFacts *facts = ClippingFacts::known(item);
    // A secret is opened on this thread only.
    if (!facts && (item.textContent.size() < longText || item.encryptedPasswordData))
        facts = &ClippingFacts::of(item);
    if (facts) {
        m_metadata->setText(facts->footerMetadataText);
        return;
    }
    m_metadata->setText(QStringLiteral("…"));
    // One count at a time and behind the interface, and none for a clipping no longer shown.
    static QThreadPool *const counting = [] {
        auto *pool = new QThreadPool(qApp);
        pool->setMaxThreadCount(1);
        pool->setThreadPriority(QThread::LowPriority);
        return pool;
    }();
    m_facts.cancel();
    m_facts.setFuture(QtConcurrent::run(counting, [item] {
        return std::pair{item, ClippingFacts::compute(item)};
    }));
}

void QuickLookView::applyTheme()
{
    const Theme &theme = *m_theme;
    m_styledTheme = &theme;
    setTextColour(m_title, theme.strongText);
    setTextColour(m_metadata, theme.secondaryText);
    setTextColour(m_hint, theme.secondaryText);
    setTextColour(m_text, theme.strongText);
    m_copy->setStyleSheet(ControlStyles::button(theme, false, 3, 12));
    m_paste->setStyleSheet(ControlStyles::button(theme, true, 3, 12));
}

void QuickLookView::updateMasking()
{
    const bool masked = m_state.isTextMasked(*m_item);
    if (m_shownMasked == masked)
        return;
    m_shownMasked = masked;
    const bool isText = m_item->type == ClippingType::Text || m_item->type == ClippingType::Url;
    if (isText)
        m_text->setText(masked ? ClippingFacts::of(*m_item).obfuscatedText
                               : m_item->resolvedText());
    m_hint->setText(masked ? tr("Hold %1 or click 👁 to reveal text").arg(KeyLabels::alt())
                           : tr("Press %1 or %2 to close")
                                 .arg(KeyLabels::label(KeyLabels::space()),
                                      KeyLabels::label(QKeySequence(Qt::Key_Escape))));
}

void QuickLookView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_theme->previewBackdrop);
}

void QuickLookView::mousePressEvent(QMouseEvent *event)
{
    if (!m_panel->geometry().contains(event->position().toPoint()))
        m_state.setQuickLookItem(std::nullopt);
}

void QuickLookView::resizeEvent(QResizeEvent *)
{
    QRect panel(QPoint(), panelSize);
    panel.moveCenter(rect().center());
    m_panel->setGeometry(panel);
}
