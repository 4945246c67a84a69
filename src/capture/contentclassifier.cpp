#include "contentclassifier.h"

#include <QRegularExpression>
#include <array>
#include <bit>

namespace ContentClassifier
{

namespace
{

ClippingItem fromSource(ClippingItem fields, const ClippingSource &source)
{
    fields.sourceAppName = source.appName;
    fields.sourceAppBundleID = source.bundleID;
    fields.createdAt = source.capturedAt;
    return ClippingItem::make(std::move(fields));
}

// The longest colour text, "#" and six digits.
constexpr qsizetype longestColorText = 7;

constexpr std::array<QStringView, 11> keywords{u"func ",  u"let ",    u"var ",     u"import ",
                                               u"class ", u"struct ", u"def ",     u"return ",
                                               u"if ",    u"const ",  u"function "};

// For each ASCII character, the keywords whose last letter it is.
constexpr std::array<quint16, 128> keywordsByLastLetter = [] {
    std::array<quint16, 128> table{};
    for (std::size_t i = 0; i < keywords.size(); ++i)
        table[keywords[i][keywords[i].size() - 2].unicode()] |= quint16(1u << i);
    return table;
}();

// How many distinct keywords the text contains, counting no further than two. Every keyword
// ends in a space, so one pass looks back from each space; searching for each keyword in turn
// takes ten times as long on a long text.
int distinctKeywords(QStringView text)
{
    quint16 seen = 0;
    for (qsizetype space = text.indexOf(u' '); space >= 0; space = text.indexOf(u' ', space + 1)) {
        const char16_t last = space > 0 ? text[space - 1].unicode() : u' ';
        if (last >= keywordsByLastLetter.size())
            continue;
        for (quint16 candidates = keywordsByLastLetter[last] & ~seen; candidates;
             candidates &= candidates - 1) {
            const int i = std::countr_zero(candidates);
            const qsizetype start = space + 1 - keywords[i].size();
            if (start >= 0 && text.sliced(start, keywords[i].size()) == keywords[i]) {
                seen |= quint16(1u << i);
                if (std::popcount(seen) == 2)
                    return 2;
            }
        }
    }
    return std::popcount(seen);
}

bool startsWithWebScheme(QStringView text)
{
    return text.startsWith(u"http:", Qt::CaseInsensitive) ||
           text.startsWith(u"https:", Qt::CaseInsensitive);
}

} // namespace

bool isColorText(QStringView trimmed)
{
    static const QRegularExpression pattern(QStringLiteral("^#([A-Fa-f0-9]{6}|[A-Fa-f0-9]{3})$"));
    // The length test spares the regex a long text it could never match.
    return trimmed.size() <= longestColorText && pattern.match(trimmed.toString()).hasMatch();
}

bool isLinkText(QStringView trimmed)
{
    // Only these schemes pass, so a long text without one is not parsed at all.
    if (trimmed.contains(u'\n') || !startsWithWebScheme(trimmed))
        return false;
    const QUrl url(trimmed.toString(), QUrl::StrictMode);
    if (!url.isValid())
        return false;
    const QString scheme = url.scheme().toLower();
    return (scheme == u"http" || scheme == u"https") && !url.host().isEmpty();
}

TextKind classifyText(const QString &text)
{
    // Most texts fail both tests long before their end; trimming a view copies nothing.
    const QStringView trimmed = QStringView(text).trimmed();
    if (isColorText(trimmed))
        return TextKind::Color;
    if (isLinkText(trimmed))
        return TextKind::Link;
    return TextKind::Text;
}

bool looksLikeCode(const QString &text, const QString &appName)
{
    static constexpr std::array editorFragments{
        QLatin1StringView("xcode"),    QLatin1StringView("visual studio"),
        QLatin1StringView("cursor"),   QLatin1StringView("iterm"),
        QLatin1StringView("terminal"), QLatin1StringView("sublime"),
        QLatin1StringView("textmate"), QLatin1StringView("jetbrains"),
        QLatin1StringView("intellij"), QLatin1StringView("goland"),
        QLatin1StringView("pycharm")};

    const QString app = appName.toLower();
    for (QLatin1StringView fragment : editorFragments) {
        if (app.contains(fragment)) {
            if (text.contains(u'\n'))
                return true;
            break;
        }
    }
    if (distinctKeywords(text) < 2)
        return false;
    return text.contains(u'{') || text.contains(u'(');
}

QString dimensionsText(QSize size)
{
    return QStringLiteral("%1 \u00D7 %2 px").arg(size.width()).arg(size.height());
}

ClippingItem fileClipping(const QUrl &fileURL, const ClippingSource &source)
{
    QString path = fileURL.toLocalFile();
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    const qsizetype slash = path.lastIndexOf(u'/');
    QString name = path.mid(slash + 1);
    QString folder = path.left(slash + 1);
    if (name.isEmpty()) // the root folder itself
        name = folder = QStringLiteral("/");
    return fromSource(
        {.type = ClippingType::File, .textContent = name, .fileName = name, .filePath = folder},
        source);
}

ClippingItem imageClipping(const QByteArray &png, QSize size, const ClippingSource &source)
{
    const QString dimensions = dimensionsText(size);
    return fromSource({.type = ClippingType::Image,
                       .textContent = QStringLiteral("Image (%1)").arg(dimensions),
                       .imageData = png,
                       .imageDimensions = dimensions},
                      source);
}

ClippingItem secretTextClipping(const QString &text, const ClippingSource &source)
{
    // Sealed by the initialiser, or by the first save once the key is there.
    return fromSource({.type = ClippingType::Text, .textContent = text, .isPassword = true},
                      source);
}

ClippingItem textClipping(const QString &text, TextKind kind, std::optional<QByteArray> rtf,
                          const ClippingSource &source)
{
    switch (kind) {
    case TextKind::Color: {
        const QString hex = text.trimmed().toUpper();
        return fromSource({.type = ClippingType::Color, .textContent = hex, .colorHex = hex},
                          source);
    }
    case TextKind::Link:
        return fromSource({.type = ClippingType::Url, .textContent = text.trimmed()}, source);
    case TextKind::Text:
        break;
    }
    return fromSource({.type = ClippingType::Text,
                       .textContent = text,
                       .richKind = looksLikeCode(text, source.appName)
                                       ? RichContentKind::CodeSnippet
                                       : RichContentKind::PlainText,
                       .rtfData = std::move(rtf)},
                      source);
}

} // namespace ContentClassifier
