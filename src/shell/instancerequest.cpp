#include "instancerequest.h"

#include <QStringDecoder>

namespace
{

const QByteArray okStatus = QByteArrayLiteral("ok");
const QByteArray errorStatus = QByteArrayLiteral("error ");

} // namespace

QByteArray InstanceRequest::line() const
{
    QStringList words{verb};
    words += arguments;
    return words.join(u' ').toUtf8() + '\n';
}

std::optional<InstanceRequest> InstanceRequest::parse(QByteArray line)
{
    if (line.endsWith('\n'))
        line.chop(1);
    if (line.size() > maximumLineLength)
        return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(line);
    if (decoder.hasError())
        return std::nullopt;
    QStringList words = text.split(u' ', Qt::SkipEmptyParts);
    if (words.isEmpty())
        return std::nullopt;
    const QString verb = words.takeFirst();
    return InstanceRequest{verb, words};
}

QByteArray InstanceReply::encoded() const
{
    if (!error.isEmpty())
        return errorStatus + error.simplified().toUtf8() + '\n';
    return okStatus + '\n' + output;
}

std::optional<InstanceReply> InstanceReply::decode(const QByteArray &bytes)
{
    const qsizetype end = bytes.indexOf('\n');
    if (end < 0)
        return std::nullopt;
    const QByteArray status = bytes.left(end);
    if (status == okStatus)
        return InstanceReply{{}, bytes.mid(end + 1)};
    if (status.startsWith(errorStatus) && status.size() > errorStatus.size())
        return failure(QString::fromUtf8(status.mid(errorStatus.size())));
    return std::nullopt;
}
