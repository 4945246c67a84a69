#include "programversion.h"

namespace ProgramVersion
{

QString text()
{
    const QString version = QStringLiteral(QUILLSTASH_VERSION);
    return version.isEmpty() ? QString::fromLatin1(fallbackVersion) : version;
}

qint64 build()
{
    return parseBuildNumber(QStringLiteral(QUILLSTASH_BUILD_NUMBER)).value_or(fallbackBuild);
}

std::optional<qint64> parseBuildNumber(QStringView text)
{
    // toLongLong alone would also take surrounding spaces.
    const QStringView digits = text.startsWith(u'+') || text.startsWith(u'-') ? text.mid(1) : text;
    if (digits.isEmpty())
        return std::nullopt;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    bool ok = false;
    const qint64 number = text.startsWith(u'+') ? digits.toLongLong(&ok) : text.toLongLong(&ok);
    return ok ? std::optional(number) : std::nullopt;
}

} // namespace ProgramVersion
