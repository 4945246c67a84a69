#include "counttext.h"

namespace CountText
{

QString format(qsizetype count, const QString &one, const QString &other)
{
    QString text = count == 1 ? one : other;
    return text.replace(QStringLiteral("%n"), QString::number(count));
}

} // namespace CountText
