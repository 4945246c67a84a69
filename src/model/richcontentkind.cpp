#include "richcontentkind.h"

#include <QHash>

QString rawValue(RichContentKind kind)
{
    switch (kind) {
    case RichContentKind::PlainText:
        return QStringLiteral("plainText");
    case RichContentKind::CodeSnippet:
        return QStringLiteral("codeSnippet");
    case RichContentKind::CoralHeadline:
        return QStringLiteral("coralHeadline");
    case RichContentKind::CalendarEvent:
        return QStringLiteral("calendarEvent");
    }
    Q_UNREACHABLE();
    return QString();
}

std::optional<RichContentKind> richContentKindFromRawValue(QStringView raw)
{
    for (const RichContentKind kind : allRichContentKinds) {
        if (raw == rawValue(kind))
            return kind;
    }
    return std::nullopt;
}

size_t qHash(RichContentKind kind, size_t seed)
{
    return ::qHash(rawValue(kind), seed);
}
