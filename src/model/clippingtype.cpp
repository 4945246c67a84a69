#include "clippingtype.h"

#include <QHash>

QString rawValue(ClippingType type)
{
    switch (type) {
    case ClippingType::Image:
        return QStringLiteral("Image");
    case ClippingType::Color:
        return QStringLiteral("Color");
    case ClippingType::File:
        return QStringLiteral("File");
    case ClippingType::Text:
        return QStringLiteral("Text");
    case ClippingType::Url:
        return QStringLiteral("URL");
    }
    Q_UNREACHABLE();
    return QString();
}

std::optional<ClippingType> clippingTypeFromRawValue(QStringView raw)
{
    for (const ClippingType type : allClippingTypes) {
        if (raw == rawValue(type))
            return type;
    }
    return std::nullopt;
}

QString sfSymbol(ClippingType type)
{
    switch (type) {
    case ClippingType::Image:
        return QStringLiteral("photo");
    case ClippingType::Color:
        return QStringLiteral("eyedropper");
    case ClippingType::File:
        return QStringLiteral("doc");
    case ClippingType::Text:
        return QStringLiteral("textformat");
    case ClippingType::Url:
        return QStringLiteral("link");
    }
    Q_UNREACHABLE();
    return QString();
}

size_t qHash(ClippingType type, size_t seed)
{
    return ::qHash(rawValue(type), seed);
}
