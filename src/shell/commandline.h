#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The program's command-line options: each may stand anywhere and takes the next argument as
// its value.
namespace CommandLine
{

inline const QString generateAppIconOption = QStringLiteral("--generate-app-icon");
inline const QString exportScreenshotsOption = QStringLiteral("--export-screenshots");
// Prints the version and build and quits; takes no value.
inline const QString versionOption = QStringLiteral("--version");

// The arguments after the program name, decoded as the system encodes file names.
QStringList arguments(int argc, const char *const *argv);

// The value after the first occurrence of option; nothing when the option is absent or is the
// last argument.
std::optional<QString> optionValue(const QStringList &arguments, const QString &option);

} // namespace CommandLine
