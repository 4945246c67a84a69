#include "clippingsearchkeys.h"

#include <array>

bool ClippingSearchKeys::append(QByteArray &keys, const ClippingItem &item)
{
    const std::array fields{
        item.isPassword ? QString() : item.textContent.toLower(),
        item.sourceAppName.toLower(),
        item.windowTitle.value_or(QString()).toLower(),
        item.fileName.value_or(QString()).toLower(),
        item.urlTitle.value_or(QString()).toLower(),
    };
    bool isWellFormed = true;
    for (const QString &field : fields) {
        isWellFormed = isWellFormed && QStringView(field).isValidUtf16();
        keys += field.toUtf8();
        keys += separator;
    }
    return isWellFormed;
}
