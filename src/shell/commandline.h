#pragma once

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

struct Options {
    bool help = false;
    bool version = false;
    bool background = false;
    std::optional<QString> iconFolder;
    std::optional<QString> screenshotFolder;
    bool operator==(const Options &) const = default;
};

// The arguments after the program name, decoded as the system encodes file names.
QStringList arguments(int argc, const char *const *argv);

// The value after the first occurrence of option; nothing when the option is absent or is the
// last argument.
std::optional<QString> optionValue(const QStringList &arguments, const QString &option);

// Arguments it does not know are ignored.
Options parse(const QStringList &arguments);

// The usage text of --help.
QString helpText();

} // namespace CommandLine
