#include "commandline.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>

namespace CommandLine
{

namespace
{

QString translated(const char *text)
{
    return QCoreApplication::translate("CommandLine", text);
}

const QString helpOption = QStringLiteral("--help");
const QString showBoardOption = QStringLiteral("--show-board");
const QString listOption = QStringLiteral("--list");
const QString jsonOption = QStringLiteral("--json");
const QString copyOption = QStringLiteral("--copy");
const QString pasteOption = QStringLiteral("--paste");
const QString pauseOption = QStringLiteral("--pause");
const QString resumeOption = QStringLiteral("--resume");

// A count of 0 is still a count, for the running program to refuse.
bool isCount(const QString &word)
{
    return !word.isEmpty() &&
           std::all_of(word.cbegin(), word.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

const QList<OptionDescription> &optionTable()
{
    static const QList<OptionDescription> table{
        {QStringLiteral("-h"), helpOption, {}, translated("Show this help and quit.")},
        {QStringLiteral("-v"),
         versionOption,
         {},
         translated("Show the version and build and quit.")},
        {{}, backgroundOption, {}, translated("Start without showing the board (used at login).")},
        {{},
         showBoardOption,
         {},
         translated("Do what the hot key does: show the board of the running Quillstash, or step "
                    "to the next card when the board is in front. Starts Quillstash when none "
                    "runs. Bind a desktop shortcut to this where no hot key can be registered.")},
        {{},
         listOption,
         QStringLiteral("[<n>]"),
         translated("Print the newest n clippings (10 when n is left out), one a line: number, "
                    "type, source application and first line of text, separated by tabs. "
                    "Secrets show as dots.")},
        {{},
         jsonOption,
         {},
         translated("With --list: print each clipping as a JSON object on a line of its own, "
                    "with the fields index, type, app and text.")},
        {{},
         copyOption,
         QStringLiteral("<n>"),
         translated("Put clipping n (1 is the newest) back on the clipboard.")},
        {{},
         pasteOption,
         QStringLiteral("<n>"),
         translated("Put clipping n back on the clipboard and paste it into the window in "
                    "front.")},
        {{}, pauseOption, {}, translated("Stop recording copies until --resume.")},
        {{}, resumeOption, {}, translated("Record copies again after --pause.")},
        {{},
         generateAppIconOption,
         QStringLiteral("<folder>"),
         translated("Write the icon set into the folder and quit.")},
        {{},
         exportScreenshotsOption,
         QStringLiteral("<folder>"),
         translated("Write five screenshots of the board and preferences into the folder and "
                    "quit. Uses demonstration data; your history and settings are not touched.")},
    };
    return table;
}

const QList<ExitStatusDescription> &exitStatusTable()
{
    static const QList<ExitStatusDescription> table{
        {0, translated("Success.")},
        {1, translated("The running Quillstash refused the request (such as a clipping number "
                       "that does not exist), or Quillstash could not start.")},
        {2, translated("An unknown option or a missing value; or, for --list, --copy, --paste, "
                       "--pause and --resume, no Quillstash is running.")},
    };
    return table;
}

QStringList arguments(int argc, const char *const *argv)
{
    QStringList list;
    for (int i = 1; i < argc; ++i)
        list.append(QFile::decodeName(argv[i]));
    return list;
}

Options parse(const QStringList &arguments)
{
    Options options;
    bool json = false;
    const auto request = [&options](const QString &verb, QStringList values = {}) {
        if (!options.request)
            options.request = InstanceRequest{verb, std::move(values)};
        options.script = options.request->verb != InstanceVerbs::showBoard;
    };
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &word = arguments.at(i);
        const bool hasNext = i + 1 < arguments.size();
        // A value is never read as an option: "--export-screenshots --help" names a folder.
        if (word == generateAppIconOption || word == exportScreenshotsOption) {
            std::optional<QString> &folder =
                word == generateAppIconOption ? options.iconFolder : options.screenshotFolder;
            if (hasNext && !folder)
                folder = arguments.at(i + 1);
            i += hasNext ? 1 : 0;
        } else if (word == helpOption || word == QLatin1String("-h") ||
                   word == QLatin1String("--help-all")) {
            options.help = true;
        } else if (word == versionOption || word == QLatin1String("-v")) {
            options.version = true;
        } else if (word == backgroundOption) {
            options.background = true;
        } else if (word == showBoardOption) {
            request(InstanceVerbs::showBoard);
        } else if (word == listOption) {
            const bool counted = hasNext && isCount(arguments.at(i + 1));
            request(InstanceVerbs::list,
                    {counted ? arguments.at(i + 1) : QString::number(defaultListCount)});
            i += counted ? 1 : 0;
        } else if (word == jsonOption) {
            json = true;
        } else if (word == copyOption || word == pasteOption) {
            if (!hasNext) {
                options.error = translated("%1 needs the number of a clipping").arg(word);
                break;
            }
            request(word == copyOption ? InstanceVerbs::copy : InstanceVerbs::paste,
                    {arguments.at(++i)});
        } else if (word == pauseOption || word == resumeOption) {
            request(word == pauseOption ? InstanceVerbs::pause : InstanceVerbs::resume);
        } else if (word.startsWith(u'-') && word.size() > 1) {
            options.error = translated("unknown option '%1'").arg(word);
            break;
        }
    }
    if (json && options.request && options.request->verb == InstanceVerbs::list)
        options.request->arguments.append(QStringLiteral("json"));
    return options;
}

QString helpText()
{
    QString text = translated("Usage: quillstash [options]\n\n"
                              "A clipboard history in the system tray.\n\nOptions:\n");
    QStringList heads;
    qsizetype width = 0;
    for (const OptionDescription &option : optionTable()) {
        QString head = option.shortName.isEmpty() ? QStringLiteral("    ")
                                                  : option.shortName + QStringLiteral(", ");
        head += option.name;
        if (!option.valueName.isEmpty())
            head += u' ' + option.valueName;
        width = std::max(width, head.size());
        heads.append(head);
    }
    for (qsizetype i = 0; i < heads.size(); ++i)
        text += QStringLiteral("  %1  %2\n")
                    .arg(heads.at(i).leftJustified(width), optionTable().at(i).description);
    text += translated("\nExit status:\n");
    for (const ExitStatusDescription &status : exitStatusTable())
        text += QStringLiteral("  %1  %2\n").arg(status.code).arg(status.description);
    return text;
}

} // namespace CommandLine
