#pragma once

#include <QString>
#include <array>
#include <optional>

enum class ClippingType { Image, Color, File, Text, Url };

// In the order of the sidebar's Types section.
inline constexpr std::array allClippingTypes{ClippingType::Image, ClippingType::Color,
                                             ClippingType::File, ClippingType::Text,
                                             ClippingType::Url};

QString rawValue(ClippingType type);
std::optional<ClippingType> clippingTypeFromRawValue(QStringView raw);
QString sfSymbol(ClippingType type);
size_t qHash(ClippingType type, size_t seed = 0);
