#include "views/cards/syntaxhighlighter.h"

#include <cstdint>

namespace
{

// Runs must tile [0, length) without gaps or overlaps.
void checkTiling(const QList<SyntaxHighlighter::Match> &runs, qsizetype length)
{
    qsizetype next = 0;
    for (const SyntaxHighlighter::Match &run : runs) {
        if (run.start != next || run.length <= 0)
            __builtin_trap();
        next += run.length;
    }
    if (next != length)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString code = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const SyntaxHighlighter::Match &match : SyntaxHighlighter::matches(code)) {
        if (match.start < 0 || match.length < 0 || match.start + match.length > code.size())
            __builtin_trap();
    }
    checkTiling(SyntaxHighlighter::runs(code), code.size());
    // Cut at the end of the first line, as a card showing one line would.
    const qsizetype lineEnd = code.indexOf(u'\n');
    if (lineEnd >= 0)
        checkTiling(SyntaxHighlighter::runs(code, lineEnd), lineEnd);
    return 0;
}
