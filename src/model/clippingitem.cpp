#include "clippingitem.h"

#include "passwordcrypto.h"
#include "textmetrics.h"

#include <algorithm>
#include <unicode/uchar.h>

namespace
{

bool isLargeEmojiScalar(char32_t scalar)
{
    const auto c = static_cast<UChar32>(scalar);
    return u_hasBinaryProperty(c, UCHAR_EMOJI_PRESENTATION) ||
           (scalar >= 0x203D && u_hasBinaryProperty(c, UCHAR_EMOJI));
}

bool containsLargeEmojiScalar(QStringView grapheme)
{
    for (const char32_t scalar : grapheme.toUcs4()) {
        if (isLargeEmojiScalar(scalar))
            return true;
    }
    return false;
}

QString characters(qsizetype count)
{
    return QString::number(count) + QStringLiteral(" characters");
}

} // namespace

ClippingItem ClippingItem::make(ClippingItem fields)
{
    ClippingItem item = std::move(fields);
    if (item.id.isNull())
        item.id = QUuid::createUuid();
    if (!item.createdAt.isSet())
        item.createdAt = Timestamp::now();

    if (!item.isMasked.value_or(item.isPassword)) {
        item.isMasked = false;
        return item;
    }
    item.isPassword = true;
    item.isMasked = true;
    if (!item.encryptedPasswordData && !item.textContent.isEmpty()) {
        item.rtfData.reset();
        if (std::optional<QByteArray> sealed = PasswordCrypto::encrypt(item.textContent)) {
            item.encryptedPasswordData = std::move(sealed);
            item.textContent.clear();
        }
    }
    return item;
}

QString ClippingItem::resolvedText() const
{
    // Opened on every call and dropped by the caller: no opened secret stays in memory.
    if (encryptedPasswordData) {
        if (std::optional<QString> opened = PasswordCrypto::decrypt(*encryptedPasswordData))
            return *opened;
    }
    return textContent;
}

QString ClippingItem::obfuscatedText() const
{
    const qsizetype count =
        std::clamp<qsizetype>(TextMetrics::graphemeCount(resolvedText()), 8, 32);
    return QString(count, QChar(0x2022));
}

bool ClippingItem::isLargeEmojiOnly() const
{
    if (type != ClippingType::Text || isMasked.value_or(false) || isPassword ||
        richKind != RichContentKind::PlainText)
        return false;

    // Stops at the sixth grapheme between the first and the last that are not white space, so
    // that a long text costs what its first few characters cost.
    const QString text = resolvedText();
    QList<QStringView> shown;
    qsizetype spanned = 0;
    qsizetype pendingSpaces = 0;
    TextMetrics::visitGraphemes(text, [&](QStringView g) {
        if (TextMetrics::isWhiteSpace(g)) {
            pendingSpaces += shown.isEmpty() ? 0 : 1;
            return true;
        }
        spanned += pendingSpaces + 1;
        pendingSpaces = 0;
        shown.append(g);
        return spanned < 6;
    });
    if (shown.isEmpty() || spanned >= 6 || shown.size() >= 5)
        return false;
    return std::all_of(shown.cbegin(), shown.cend(), containsLargeEmojiScalar);
}

QString ClippingItem::relativeTimeString(Timestamp now) const
{
    if (customRelativeTimeOverride)
        return *customRelativeTimeOverride;
    const qint64 seconds = now.wholeSecondsSince(createdAt);
    if (seconds < 1)
        return QStringLiteral("1s");
    if (seconds <= 59)
        return QString::number(seconds) + u's';
    if (seconds < 3600)
        return QString::number(seconds / 60) + u'm';
    if (seconds < 86400)
        return QString::number(seconds / 3600) + u'h';
    return QString::number(seconds / 86400) + u'd';
}

QString ClippingItem::footerMetadataText() const
{
    if (richKind == RichContentKind::CalendarEvent)
        return QStringLiteral("Calendar Event");

    switch (type) {
    case ClippingType::Image:
        return imageDimensions.value_or(QStringLiteral("512 × 512 px"));
    case ClippingType::Color:
        return characters(TextMetrics::graphemeCount(colorHex.value_or(textContent)));
    case ClippingType::File:
        if (filePath) {
            if (TextMetrics::graphemeCount(*filePath) <= 30)
                return *filePath;
            return QStringLiteral("...") + TextMetrics::lastGraphemes(*filePath, 27).toString();
        }
        return fileName.value_or(QStringLiteral("File"));
    case ClippingType::Text: {
        const QString text = resolvedText();
        // One pass and no list: a clipping may hold megabytes of text.
        const bool emojiOnly = isLargeEmojiOnly();
        qsizetype count = 0;
        qsizetype lines = 1;
        TextMetrics::visitGraphemes(text, [&](QStringView grapheme) {
            if (!emojiOnly || !TextMetrics::isWhiteSpace(grapheme))
                ++count;
            if (TextMetrics::isLineBreak(grapheme))
                ++lines;
            return true;
        });
        if (richKind == RichContentKind::CodeSnippet && lines >= 2)
            return QString::number(lines) + QStringLiteral(" lines, ") + characters(count);
        return characters(count);
    }
    case ClippingType::Url:
        if (urlTitle && !urlTitle->isEmpty())
            return *urlTitle;
        return characters(TextMetrics::graphemeCount(textContent));
    }
    Q_UNREACHABLE();
    return QString();
}

bool ClippingItem::applyMaskState(bool masked)
{
    std::optional<QString> opened;
    if (encryptedPasswordData)
        opened = PasswordCrypto::decrypt(*encryptedPasswordData);
    const QString plain = opened.value_or(textContent);

    if (!masked) {
        // Without the key a sealed text cannot be opened; dropping its sealed form would lose it.
        if (encryptedPasswordData && !opened)
            return false;
        textContent = plain;
        encryptedPasswordData.reset();
        isPassword = false;
        isMasked = false;
        return true;
    }
    if (!plain.isEmpty()) {
        // The text is the only copy: without a sealed form of it, nothing changes.
        std::optional<QByteArray> sealed = PasswordCrypto::encrypt(plain);
        if (!sealed)
            return false;
        encryptedPasswordData = std::move(sealed);
    }
    textContent.clear();
    rtfData.reset();
    isPassword = true;
    isMasked = true;
    return true;
}
