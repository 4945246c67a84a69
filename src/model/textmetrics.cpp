#include "textmetrics.h"

#include <memory>
#include <unicode/brkiter.h>
#include <unicode/uchar.h>
#include <unicode/utext.h>

namespace
{

// Plain ASCII splits into one grapheme per code unit, except CR LF, which is one.
bool isAscii(QStringView text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

icu::BreakIterator *characterBreaks()
{
    // Made once: building an ICU break iterator costs far more than using one.
    thread_local std::unique_ptr<icu::BreakIterator> iterator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::BreakIterator> made(
            icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
        return U_SUCCESS(status) ? std::move(made) : nullptr;
    }();
    return iterator.get();
}

// visit answers whether to go on.
template <typename Visit> void forEachGrapheme(QStringView text, Visit visit)
{
    if (text.isEmpty())
        return;
    icu::BreakIterator *breaks = isAscii(text) ? nullptr : characterBreaks();
    if (!breaks) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            const qsizetype length =
                (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ? 2 : 1;
            if (!visit(text.sliced(i, length)))
                return;
            i += length - 1;
        }
        return;
    }
    UErrorCode status = U_ZERO_ERROR;
    UText *utext = utext_openUChars(nullptr, reinterpret_cast<const UChar *>(text.utf16()),
                                    text.size(), &status);
    if (U_FAILURE(status)) {
        utext_close(utext);
        visit(text);
        return;
    }
    breaks->setText(utext, status);
    int32_t start = breaks->first();
    for (int32_t end = breaks->next(); end != icu::BreakIterator::DONE; end = breaks->next()) {
        if (!visit(text.sliced(start, end - start)))
            break;
        start = end;
    }
    // Detach from the UText before closing it: the iterator is kept for the next call.
    breaks->setText(icu::UnicodeString());
    utext_close(utext);
}

char32_t firstScalar(QStringView grapheme)
{
    if (grapheme.isEmpty())
        return 0;
    if (grapheme.size() >= 2 && grapheme[0].isHighSurrogate() && grapheme[1].isLowSurrogate())
        return QChar::surrogateToUcs4(grapheme[0], grapheme[1]);
    return grapheme[0].unicode();
}

} // namespace

namespace TextMetrics
{

QList<QStringView> graphemes(QStringView text)
{
    QList<QStringView> result;
    forEachGrapheme(text, [&](QStringView g) {
        result.append(g);
        return true;
    });
    return result;
}

void visitGraphemes(QStringView text, const std::function<bool(QStringView)> &visit)
{
    forEachGrapheme(text, visit);
}

qsizetype graphemeCount(QStringView text)
{
    qsizetype count = 0;
    forEachGrapheme(text, [&](QStringView) {
        ++count;
        return true;
    });
    return count;
}

QStringView lastGraphemes(QStringView text, qsizetype count)
{
    const QList<QStringView> all = graphemes(text);
    if (all.size() <= count)
        return text;
    const QStringView &first = all[all.size() - count];
    return text.sliced(first.data() - text.data());
}

bool isWhiteSpace(QStringView grapheme)
{
    return u_isUWhiteSpace(static_cast<UChar32>(firstScalar(grapheme)));
}

bool isLineBreak(QStringView grapheme)
{
    switch (firstScalar(grapheme)) {
    case 0x000A:
    case 0x000B:
    case 0x000C:
    case 0x000D:
    case 0x0085:
    case 0x2028:
    case 0x2029:
        return true;
    default:
        return false;
    }
}

} // namespace TextMetrics
