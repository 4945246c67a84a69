#pragma once

#include "instancerequest.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The program's command-line options: each may stand anywhere; a value option takes the next
// argument as its value, and one that ends the list is ignored.
namespace CommandLine
{

inline const QString generateAppIconOption = QStringLiteral("--generate-app-icon");
inline const QString exportScreenshotsOption = QStringLiteral("--export-screenshots");
// Prints the version and build and quits; takes no value.
inline const QString versionOption = QStringLiteral("--version");
// Starts without showing the board: the login start.
inline const QString backgroundOption = QStringLiteral("--background");

// One row of the option table the help text and the manual page are made from.
struct OptionDescription {
    // Empty when the option has no short form.
    QString shortName;
    QString name;
    // "<folder>", "[<n>]" for an optional value; empty for none.
    QString valueName;
    QString description;
};

// Every option, in the order the help lists them.
const QList<OptionDescription> &optionTable();

struct ExitStatusDescription {
    int code;
    QString description;
};

const QList<ExitStatusDescription> &exitStatusTable();

struct Options {
    bool help = false;
    bool version = false;
    bool background = false;
    std::optional<QString> iconFolder;
    std::optional<QString> screenshotFolder;
    // What to ask the running program; with `script`, no program is started for it.
    std::optional<InstanceRequest> request;
    bool script = false;
    // A usage error to report instead of starting, such as an option we do not know.
    QString error;
    bool operator==(const Options &) const = default;
};

// The arguments after the program name, decoded as the system encodes file names.
QStringList arguments(int argc, const char *const *argv);

// Words that are no option are ignored; an unknown option is an error.
Options parse(const QStringList &arguments);

// The usage text of --help.
QString helpText();

// How many clippings --list prints when not told.
inline constexpr int defaultListCount = 10;

} // namespace CommandLine
