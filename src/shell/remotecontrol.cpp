#include "remotecontrol.h"

#include "board/clipboardmanagerstate.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTimer>

namespace
{

// A listing shows where a clipping starts, not a whole book on one line.
constexpr qsizetype longestListedText = 200;

const QString secretDots = QString(8, QChar(0x2022));

std::optional<qsizetype> positiveNumber(const QStringList &arguments)
{
    if (arguments.size() != 1)
        return std::nullopt;
    bool ok = false;
    const qsizetype number = arguments.first().toLongLong(&ok);
    return ok && number > 0 ? std::optional(number) : std::nullopt;
}

QString listedText(const ClippingItem &item)
{
    // Never open a secret for a listing: its text is not to leave the program this way.
    if (item.isPassword || item.isSecret())
        return secretDots;
    QString text = item.textContent;
    if (text.trimmed().isEmpty())
        text = item.fileName.value_or(item.imageDimensions.value_or(QString()));
    static const QRegularExpression lineBreak(QStringLiteral("[\r\n\u2028\u2029]"));
    text = text.trimmed().section(lineBreak, 0, 0);
    if (text.size() > longestListedText)
        text = text.left(longestListedText) + QChar(0x2026);
    return text;
}

// A tab or a control character inside a field would break the one-line, tab-separated form.
QString field(QString text)
{
    for (QChar &c : text) {
        if (c.category() == QChar::Other_Control)
            c = u' ';
    }
    return text;
}

} // namespace

RemoteControl::RemoteControl(ClipboardManagerState &state) : m_state(state) {}

InstanceReply RemoteControl::respond(const InstanceRequest &request)
{
    const QString &verb = request.verb;
    if (verb == InstanceVerbs::show || verb == InstanceVerbs::showBoard) {
        const std::function<void()> &action = verb == InstanceVerbs::show ? showBoard : pressHotKey;
        // Answered first: the asking process can end while the board comes up.
        if (action)
            QTimer::singleShot(0, action);
        return {};
    }
    if (verb == InstanceVerbs::list)
        return list(request.arguments);
    if (verb == InstanceVerbs::copy || verb == InstanceVerbs::paste)
        return restore(request.arguments, verb == InstanceVerbs::paste);
    if (verb == InstanceVerbs::pause || verb == InstanceVerbs::resume) {
        m_state.setIsPaused(verb == InstanceVerbs::pause);
        return {};
    }
    return InstanceReply::failure(QStringLiteral("unknown request '%1'").arg(verb.left(40)));
}

InstanceReply RemoteControl::list(const QStringList &arguments) const
{
    QStringList words = arguments;
    const bool json = words.removeAll(QStringLiteral("json")) > 0;
    const std::optional<qsizetype> count = positiveNumber(words);
    if (!count)
        return InstanceReply::failure(
            QStringLiteral("the number of clippings to list must be 1 or more"));
    const QList<ClippingItem> &items = m_state.items();
    InstanceReply reply;
    for (qsizetype i = 0; i < std::min(*count, items.size()); ++i) {
        const ClippingItem &item = items.at(i);
        const QString type = rawValue(item.type);
        const QString text = listedText(item);
        if (json) {
            const QJsonObject object{{QStringLiteral("index"), i + 1},
                                     {QStringLiteral("type"), type},
                                     {QStringLiteral("app"), item.sourceAppName},
                                     {QStringLiteral("text"), text}};
            reply.output += QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
        } else {
            reply.output +=
                QStringList{QString::number(i + 1), type, field(item.sourceAppName), field(text)}
                    .join(u'\t')
                    .toUtf8() +
                '\n';
        }
    }
    return reply;
}

InstanceReply RemoteControl::restore(const QStringList &arguments, bool paste)
{
    const std::optional<qsizetype> index = positiveNumber(arguments);
    const QList<ClippingItem> &items = m_state.items();
    if (!index || *index > items.size())
        return InstanceReply::failure(
            QStringLiteral("no clipping %1: the history holds %2")
                .arg(arguments.value(0).left(20), QString::number(items.size())));
    // A copy: the restore may change the list.
    const ClippingItem item = items.at(*index - 1);
    m_state.copyToSystemPasteboard(item);
    if (paste && pasteIntoFrontWindow)
        pasteIntoFrontWindow();
    return {};
}
