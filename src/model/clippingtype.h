#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <optional>

// A namespace of its own, so that the meta-object system knows its names; the type itself
// is used without it.
namespace ClippingTypes
{
Q_NAMESPACE
enum class ClippingType { Image, Color, File, Text, Url };
Q_ENUM_NS(ClippingType)
} // namespace ClippingTypes
using ClippingType = ClippingTypes::ClippingType;

// In the order of the sidebar's Types section.
inline constexpr std::array allClippingTypes{ClippingType::Image, ClippingType::Color,
                                             ClippingType::File, ClippingType::Text,
                                             ClippingType::Url};

QString rawValue(ClippingType type);
std::optional<ClippingType> clippingTypeFromRawValue(QStringView raw);
QString sfSymbol(ClippingType type);
size_t qHash(ClippingType type, size_t seed = 0);
