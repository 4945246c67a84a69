#include "manualpage.h"

#include <QRegularExpression>
#include <QStringList>

namespace ManualPage
{

namespace
{

// Text that roff reads as text: a backslash is an escape, and a line that starts with a dot or a
// quote would be a request.
QString escaped(QString text)
{
    text.replace(u'\\', QStringLiteral("\\e"));
    QStringList lines = text.split(u'\n');
    for (QString &line : lines) {
        if (line.startsWith(u'.') || line.startsWith(u'\''))
            line.prepend(QStringLiteral("\\&"));
    }
    return lines.join(u'\n');
}

// A hyphen in an option is a minus sign, so that the option can be searched for and copied.
QString optionText(const QString &text)
{
    return escaped(text).replace(u'-', QStringLiteral("\\-"));
}

// "[<n>]" becomes "[n]" with n in italics, as manual pages write a value.
QString valueText(const QString &valueName)
{
    static const QRegularExpression placeholder(QStringLiteral("<([^>]*)>"));
    return escaped(valueName).replace(placeholder, QStringLiteral("\\fI\\1\\fR"));
}

// Options named in running text get the same minus signs.
QString descriptionText(const QString &text)
{
    static const QRegularExpression option(QStringLiteral("(?<![\\w-])--?[a-z][a-z-]*"));
    QString result = escaped(text);
    for (qsizetype at = 0;;) {
        const QRegularExpressionMatch match = option.match(result, at);
        if (!match.hasMatch())
            break;
        const QString name = optionText(match.captured());
        result.replace(match.capturedStart(), match.capturedLength(), name);
        at = match.capturedStart() + name.size();
    }
    return result;
}

QString optionEntry(const CommandLine::OptionDescription &option)
{
    QString head = QStringLiteral("\\fB%1\\fR").arg(optionText(option.name));
    if (!option.shortName.isEmpty())
        head.prepend(QStringLiteral("\\fB%1\\fR, ").arg(optionText(option.shortName)));
    if (!option.valueName.isEmpty())
        head += u' ' + valueText(option.valueName);
    return QStringLiteral(".TP\n%1\n%2").arg(head, descriptionText(option.description));
}

} // namespace

QString render(const QString &page, const QList<CommandLine::OptionDescription> &options,
               const QList<CommandLine::ExitStatusDescription> &statuses)
{
    QStringList optionList;
    for (const CommandLine::OptionDescription &option : options)
        optionList.append(optionEntry(option));
    QStringList statusList;
    for (const CommandLine::ExitStatusDescription &status : statuses)
        statusList.append(QStringLiteral(".TP\n.B %1\n%2")
                              .arg(status.code)
                              .arg(descriptionText(status.description)));
    return QString(page)
        .replace(QStringLiteral(".\\\" [options]"), optionList.join(u'\n'))
        .replace(QStringLiteral(".\\\" [exit statuses]"), statusList.join(u'\n'));
}

} // namespace ManualPage
