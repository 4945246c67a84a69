#include "remoteversioninfo.h"

#include <algorithm>
#include <cmath>
#include <simdjson.h>

namespace
{

using simdjson::dom::element;
using simdjson::dom::element_type;

std::optional<qint64> integerValue(element value)
{
    switch (value.type()) {
    case element_type::INT64:
        return qint64(value.get_int64().value_unsafe());
    case element_type::DOUBLE: {
        // 205.0 is the integer 205; 2^63 is already out of range.
        const double number = value.get_double().value_unsafe();
        constexpr double limit = 9223372036854775808.0;
        if (std::trunc(number) != number || number < -limit || number >= limit)
            return std::nullopt;
        return qint64(number);
    }
    default:
        // UINT64 holds only values above the signed range.
        return std::nullopt;
    }
}

// The version is shown to the user: only numbers joined by dots, of a length that fits.
bool isPlainVersion(std::string_view version)
{
    constexpr std::size_t longest = 32;
    if (version.empty() || version.size() > longest || version.front() == '.' ||
        version.back() == '.' || version.find("..") != std::string_view::npos)
        return false;
    return std::all_of(version.begin(), version.end(),
                       [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
}

QString text(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

// Absent and null both read as nothing; any other type spoils the whole record.
bool optionalText(simdjson::dom::object object, std::string_view key,
                  std::optional<QString> &result)
{
    element value;
    if (object.at_key(key).get(value))
        return true;
    if (value.is_null())
        return true;
    std::string_view utf8;
    if (value.get_string().get(utf8))
        return false;
    result = text(utf8);
    return true;
}

} // namespace

std::optional<RemoteVersionInfo> RemoteVersionInfo::decode(const QByteArray &json)
{
    simdjson::dom::parser parser;
    simdjson::dom::object object;
    if (parser.parse(json.constData(), size_t(json.size())).get_object().get(object))
        return std::nullopt;

    std::string_view version;
    element build;
    if (object.at_key("version").get_string().get(version) || object.at_key("build").get(build) ||
        !isPlainVersion(version))
        return std::nullopt;

    RemoteVersionInfo info;
    info.version = text(version);
    const std::optional<qint64> buildNumber = integerValue(build);
    if (!buildNumber)
        return std::nullopt;
    info.build = *buildNumber;
    if (!optionalText(object, "downloadURL", info.downloadURL) ||
        !optionalText(object, "homebrewCommand", info.homebrewCommand))
        return std::nullopt;
    return info;
}
