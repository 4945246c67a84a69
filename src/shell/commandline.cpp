#include "commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

namespace CommandLine
{

QStringList arguments(int argc, const char *const *argv)
{
    QStringList list;
    for (int i = 1; i < argc; ++i)
        list.append(QFile::decodeName(argv[i]));
    return list;
}

std::optional<QString> optionValue(const QStringList &arguments, const QString &option)
{
    const qsizetype index = arguments.indexOf(option);
    if (index < 0 || index + 1 >= arguments.size())
        return std::nullopt;
    return arguments.at(index + 1);
}

Options parse(const QStringList &arguments)
{
    // A value is never read as an option: "--export-screenshots --help" names a folder.
    const auto isFlag = [&arguments](const QStringList &names) {
        for (qsizetype i = 0; i < arguments.size(); ++i) {
            if (!names.contains(arguments.at(i)))
                continue;
            const bool isValue = i > 0 && (arguments.at(i - 1) == generateAppIconOption ||
                                           arguments.at(i - 1) == exportScreenshotsOption);
            if (!isValue)
                return true;
        }
        return false;
    };
    return {.help = isFlag(
                {QStringLiteral("--help"), QStringLiteral("-h"), QStringLiteral("--help-all")}),
            .version = isFlag({versionOption, QStringLiteral("-v")}),
            .background = isFlag({backgroundOption}),
            .iconFolder = optionValue(arguments, generateAppIconOption),
            .screenshotFolder = optionValue(arguments, exportScreenshotsOption)};
}

QString helpText()
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QCoreApplication::translate("CommandLine", "A clipboard history in the system tray."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({
        {backgroundOption.mid(2),
         QCoreApplication::translate("CommandLine",
                                     "Start without showing the board (used at login).")},
        {generateAppIconOption.mid(2),
         QCoreApplication::translate("CommandLine", "Write the icon set into <folder> and quit."),
         QCoreApplication::translate("CommandLine", "folder")},
        {exportScreenshotsOption.mid(2),
         QCoreApplication::translate(
             "CommandLine",
             "Write five screenshots of the board and preferences into <folder> and quit. "
             "Uses demonstration data; your history and settings are not touched."),
         QCoreApplication::translate("CommandLine", "folder")},
    });
    // Without an application object Qt cannot know the program's name.
    return parser.helpText().replace(QStringLiteral("<executable_name>"),
                                     QStringLiteral("quillstash"));
}

} // namespace CommandLine
