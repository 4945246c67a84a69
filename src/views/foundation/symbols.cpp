#include "symbols.h"

#include "cachedtext.h"
#include "viewfonts.h"

#include <QFontDatabase>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QResource>
#include <algorithm>
#include <array>
#include <utility>

namespace Symbols
{

namespace
{

struct Entry {
    QLatin1StringView name;
    char16_t codePoint; // Material Icons name in the comment
};

constexpr std::array table{
    Entry{QLatin1StringView("anchor"), 0xf1cd},                   // anchor
    Entry{QLatin1StringView("arrow.down.circle.fill"), 0xf181},   // arrow_circle_down
    Entry{QLatin1StringView("calendar"), 0xe878},                 // event
    Entry{QLatin1StringView("checkmark"), 0xe5ca},                // check
    Entry{QLatin1StringView("checkmark.circle.fill"), 0xe86c},    // check_circle
    Entry{QLatin1StringView("clock.arrow.circlepath"), 0xe889},   // history
    Entry{QLatin1StringView("doc.fill"), 0xe873},                 // description
    Entry{QLatin1StringView("doc.on.clipboard"), 0xe14f},         // content_paste
    Entry{QLatin1StringView("doc.on.doc"), 0xe14d},               // content_copy
    Entry{QLatin1StringView("doc.text.magnifyingglass"), 0xe880}, // find_in_page
    Entry{QLatin1StringView("eye"), 0xe8f4},                      // visibility
    Entry{QLatin1StringView("eye.fill"), 0xe8f4},                 // visibility
    Entry{QLatin1StringView("eye.slash"), 0xe8f5},                // visibility_off
    Entry{QLatin1StringView("eye.slash.fill"), 0xe8f5},           // visibility_off
    Entry{QLatin1StringView("folder"), 0xe2c7},                   // folder
    Entry{QLatin1StringView("folder.fill"), 0xe2c7},              // folder
    Entry{QLatin1StringView("gearshape"), 0xe8b8},                // settings
    Entry{QLatin1StringView("gearshape.fill"), 0xe8b8},           // settings
    Entry{QLatin1StringView("globe"), 0xe80b},                    // public
    Entry{QLatin1StringView("heart"), 0xe87e},                    // favorite_border
    Entry{QLatin1StringView("heart.fill"), 0xe87d},               // favorite
    Entry{QLatin1StringView("heart.slash"), 0xeac2},              // heart_broken
    Entry{QLatin1StringView("keyboard"), 0xe312},                 // keyboard
    Entry{QLatin1StringView("link"), 0xe157},                     // link
    Entry{QLatin1StringView("lock.shield"), 0xe9e0},              // shield
    Entry{QLatin1StringView("lock.shield.fill"), 0xe32a},         // security
    Entry{QLatin1StringView("magnifyingglass"), 0xe8b6},          // search
    Entry{QLatin1StringView("moon.stars.fill"), 0xea46},          // nights_stay
    Entry{QLatin1StringView("paintpalette.fill"), 0xe40a},        // palette
    Entry{QLatin1StringView("photo.fill"), 0xe3f4},               // image
    Entry{QLatin1StringView("plus.circle.fill"), 0xe147},         // add_circle
    Entry{QLatin1StringView("rectangle.grid.1x2"), 0xe8e9},       // view_agenda
    Entry{QLatin1StringView("safari"), 0xe87a},                   // explore
    Entry{QLatin1StringView("sidebar.left"), 0xf114},             // view_sidebar
    Entry{QLatin1StringView("square.grid.2x2"), 0xe9b0},          // grid_view
    Entry{QLatin1StringView("square.grid.3x3"), 0xe5c3},          // apps
    Entry{QLatin1StringView("sun.max.fill"), 0xe518},             // light_mode
    Entry{QLatin1StringView("text.alignleft"), 0xe236},           // format_align_left
    Entry{QLatin1StringView("trash"), 0xe872},                    // delete
    Entry{QLatin1StringView("xmark.bin"), 0xe16c},                // delete_sweep
    Entry{QLatin1StringView("xmark.circle.fill"), 0xe5c9},        // cancel
};

QString fontFamily()
{
    static const QString family = [] {
        // Read where the program holds it, uncompressed, rather than copied into the heap.
        const QString path = QStringLiteral(":/quillstash/fonts/MaterialIcons-Regular.ttf");
        const QResource font(path);
        const int id =
            font.compressionAlgorithm() == QResource::NoCompression
                ? QFontDatabase::addApplicationFontFromData(QByteArray::fromRawData(
                      reinterpret_cast<const char *>(font.data()), qsizetype(font.size())))
                : QFontDatabase::addApplicationFont(path);
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        return families.isEmpty() ? QString() : families.first();
    }();
    return family;
}

// Draws the glyph afresh at every size and mode, so menus and high-DPI screens stay sharp.
class SymbolIconEngine : public QIconEngine
{
public:
    SymbolIconEngine(QChar glyph, QColor colour) : m_glyph(glyph), m_colour(colour) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State) override
    {
        QColor colour = m_colour;
        if (mode == QIcon::Disabled)
            colour.setAlphaF(colour.alphaF() * 0.4f);
        painter->save();
        painter->setFont(font(rect.height()));
        painter->setPen(colour);
        painter->drawText(rect, Qt::AlignCenter, QString(m_glyph));
        painter->restore();
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(), size), mode, state);
        return pixmap;
    }

    QIconEngine *clone() const override { return new SymbolIconEngine(m_glyph, m_colour); }

private:
    QChar m_glyph;
    QColor m_colour;
};

} // namespace

void loadFont()
{
    fontFamily();
}

std::optional<QChar> glyph(QStringView name)
{
    const auto found = std::find_if(table.begin(), table.end(),
                                    [name](const Entry &entry) { return entry.name == name; });
    if (found == table.end())
        return std::nullopt;
    return QChar(found->codePoint);
}

QStringList names()
{
    QStringList result;
    for (const Entry &entry : table)
        result.append(entry.name);
    return result;
}

QFont font(qreal pixelSize)
{
    QFont result(fontFamily());
    ViewFonts::setPixelSize(result, pixelSize);
    result.setStyleStrategy(QFont::NoFontMerging);
    return result;
}

void draw(QPainter &painter, QStringView name, const QRectF &rect, qreal size, const QColor &colour)
{
    const std::optional<QChar> symbol = glyph(name);
    if (!symbol)
        return;
    CachedText::draw(painter, rect, QString(*symbol), font(size), colour, Qt::AlignCenter);
}

QIcon icon(QStringView name, const QColor &colour)
{
    const std::optional<QChar> symbol = glyph(name);
    if (!symbol)
        return QIcon();
    return QIcon(new SymbolIconEngine(*symbol, colour));
}

} // namespace Symbols
