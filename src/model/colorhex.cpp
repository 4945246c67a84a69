#include "colorhex.h"

namespace
{

bool isAlphanumeric(QChar c)
{
    return c.isLetterOrNumber();
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

QStringView trimmed(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && !isAlphanumeric(text[begin]))
        ++begin;
    while (end > begin && !isAlphanumeric(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

// The leading run of hex digits as an unsigned 64-bit number; longer runs wrap around.
quint64 leadingHexValue(QStringView text)
{
    quint64 value = 0;
    for (const QChar c : text) {
        const int digit = hexDigit(c);
        if (digit < 0)
            break;
        value = (value << 4) | quint64(digit);
    }
    return value;
}

} // namespace

ColorHex ColorHex::parse(QStringView text)
{
    const QStringView hex = trimmed(text);
    const quint64 v = leadingHexValue(hex);
    if (hex.size() == 6)
        return {int((v >> 16) & 255), int((v >> 8) & 255), int(v & 255)};
    if (hex.size() == 3)
        return {int((v >> 8) & 15) * 17, int((v >> 4) & 15) * 17, int(v & 15) * 17};
    return {79, 194, 231};
}

QString ColorHex::rgbString() const
{
    return QStringLiteral("rgb(%1, %2, %3)").arg(red).arg(green).arg(blue);
}

QColor colorFromHex(QStringView text)
{
    return ColorHex::parse(text).color();
}

QString hexToRGBString(QStringView text)
{
    return ColorHex::parse(text).rgbString();
}
