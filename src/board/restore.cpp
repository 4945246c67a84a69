#include "board/clipboardmanagerstate.h"
#include "capture/pasteboard.h"
#include "capture/pasteboardwatcher.h"
#include "capture/workspace.h"
#include "history.h"

#include <QImage>
#include <algorithm>

namespace
{

// The folder and the name joined without doubling the separator; the folder alone when the
// clipping has no name.
QString fileLocation(const ClippingItem &item)
{
    QString location = item.filePath.value_or(QString());
    if (!item.fileName || item.fileName->isEmpty())
        return location;
    QStringView name = *item.fileName;
    while (name.startsWith(u'/'))
        name = name.mid(1);
    if (!location.endsWith(u'/'))
        location += u'/';
    return location + name.toString();
}

std::optional<QUrl> parsedURL(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    const QUrl url(text, QUrl::StrictMode);
    return url.isValid() ? std::optional(url) : std::nullopt;
}

} // namespace

void ClipboardManagerState::copyToSystemPasteboard(const ClippingItem &item, bool plainTextOnly)
{
    const Operation operation(*this);
    showToast(plainTextOnly ? QStringLiteral("Copied as Plain Text")
                            : QStringLiteral("Copied to Clipboard"));

    // Everything goes out in one write: other programs see one change, and a secret never
    // appears without its marker.
    PasteboardContent content{.concealed = item.isPassword || item.isSecret()};
    bool written = false;
    if (!plainTextOnly) {
        switch (item.type) {
        case ClippingType::Url:
            content.url = parsedURL(item.resolvedText());
            break;
        case ClippingType::File:
            if (item.filePath) {
                content.url = QUrl::fromLocalFile(fileLocation(item));
                written = true;
            }
            break;
        case ClippingType::Image:
            if (item.imageData) {
                QImage image = QImage::fromData(*item.imageData);
                if (!image.isNull()) {
                    content.image = std::move(image);
                    written = true;
                }
            }
            break;
        case ClippingType::Color:
        case ClippingType::Text:
            content.rtf = item.rtfData;
            break;
        }
    }
    if (!written)
        content.text = item.resolvedText();
    m_pasteboard.write(content);

    m_watcher->acknowledgeOwnWrite();
}

void ClipboardManagerState::activateClipping(const ClippingItem &item, bool plainTextOnly)
{
    const Operation operation(*this);
    copyToSystemPasteboard(item, plainTextOnly);
    if (onRequestHideWindowAndPaste)
        onRequestHideWindowAndPaste(item, m_autoPasteIntoFrontmostApp);
}

std::optional<ClippingItem> ClipboardManagerState::selectedItem() const
{
    const ClippingItem *item = m_selectedItemID ? m_history->find(*m_selectedItemID) : nullptr;
    return item ? std::optional(*item) : std::nullopt;
}

void ClipboardManagerState::openSelectedItem()
{
    const std::optional<ClippingItem> item = selectedItem();
    if (!item)
        return;
    if (item->type == ClippingType::Url) {
        if (const std::optional<QUrl> url = parsedURL(item->textContent.trimmed()))
            m_workspace.openURL(*url);
    } else if (item->type == ClippingType::File && item->filePath) {
        m_workspace.openURL(QUrl::fromLocalFile(fileLocation(*item)));
    }
}

void ClipboardManagerState::revealSelectedItemInFinder()
{
    const std::optional<ClippingItem> item = selectedItem();
    if (item && item->filePath)
        m_workspace.revealFile(fileLocation(*item));
}
