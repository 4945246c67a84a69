#pragma once

#include <QColor>
#include <QString>

// The colour a colour clipping's text stands for: "#FF8800", "f80", with a fixed fallback for
// texts of any other length.
struct ColorHex {
    int red = 0;
    int green = 0;
    int blue = 0;

    static ColorHex parse(QStringView text);
    QColor color() const { return QColor(red, green, blue); }
    // "rgb(255, 136, 0)".
    QString rgbString() const;

    bool operator==(const ColorHex &) const = default;
};

QColor colorFromHex(QStringView text);
QString hexToRGBString(QStringView text);
