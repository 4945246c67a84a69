#include "clippingsearchkeys.h"

#include <array>

ClippingSearchKeys::Fields ClippingSearchKeys::Fields::of(const ClippingItem &item)
{
    return {item.isPassword,  item.textContent, item.sourceAppName,
            item.windowTitle, item.fileName,    item.urlTitle};
}

bool ClippingSearchKeys::append(QByteArray &keys, const Fields &fields)
{
    const std::array lowered{
        fields.isPassword ? QString() : fields.textContent.toLower(),
        fields.sourceAppName.toLower(),
        fields.windowTitle.value_or(QString()).toLower(),
        fields.fileName.value_or(QString()).toLower(),
        fields.urlTitle.value_or(QString()).toLower(),
    };
    bool isWellFormed = true;
    for (const QString &field : lowered) {
        isWellFormed = isWellFormed && QStringView(field).isValidUtf16();
        keys += field.toUtf8();
        keys += separator;
    }
    return isWellFormed;
}
