#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// The version and build number this program was built as.
namespace ProgramVersion
{

inline constexpr char fallbackVersion[] = "2.0.4";
inline constexpr qint64 fallbackBuild = 204;

// The build's version text, or the fallback when the build gave none.
QString text();
// The build's number, or the fallback when the build gave none or something else.
qint64 build();

// A decimal integer with an optional sign and nothing else, within 64 bits.
std::optional<qint64> parseBuildNumber(QStringView text);

} // namespace ProgramVersion
