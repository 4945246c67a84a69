#pragma once

#include "pasteboardcontent.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QtGlobal>
#include <functional>
#include <limits>
#include <optional>

// The raw representations whose byte size the capture step weighs before it decodes anything.
// Text is the plain text in UTF-8.
enum class PasteboardDataType { Png, Tiff, Rtf, Text };

// One raw representation as read against the largest size the reader takes.
struct PasteboardData {
    // Nothing when absent, and when over the limit.
    std::optional<QByteArray> bytes;
    // Present but larger than the limit; its bytes are not kept.
    bool oversize = false;
};

// Type identifiers of password managers' content, reported by types() whatever form the
// clipboard service itself uses for them.
namespace PasteboardMarker
{
inline const QString concealed = QStringLiteral("org.nspasteboard.ConcealedType");
inline const QString onePassword = QStringLiteral("com.agilebits.onepassword");
inline const QString transient = QStringLiteral("org.nspasteboard.TransientType");
} // namespace PasteboardMarker

// The system clipboard as the capture and restore steps see it. Reads describe the content
// of the current change; each is cheap to repeat within one change. A read may come back empty
// when the owner does not answer in time; the rest of that change then reads as empty too.
//
// A write replaces the whole content at once, so other programs see one change, and moves
// the change count at once: reading changeCount() right after a write gives the count that
// already includes it.
class Pasteboard
{
public:
    virtual ~Pasteboard() = default;

    // Moves whenever any program, this one included, replaces the contents.
    virtual qint64 changeCount() const = 0;
    // Called (on the main thread) right after the count moved for another program's change,
    // so that a copy can be taken without waiting for the next poll. Never called for own
    // writes.
    virtual void setChangeHandler(std::function<void()> handler) = 0;

    // The type identifiers present (the service's own names, plus the markers above).
    virtual QStringList types() = 0;
    // File URLs only, in clipboard order; empty when there are none.
    virtual QList<QUrl> fileURLs() = 0;
    // The raw bytes of one representation if they fit in `limit`. Once found over a limit, it
    // stays oversize for the rest of the change, whatever limit a later read gives.
    virtual PasteboardData data(PasteboardDataType type, qint64 limit) = 0;
    // An image decoded from the PNG or else the TIFF form, or nothing.
    virtual std::optional<QImage> image() = 0;

    // The plain text whatever its size, or nothing.
    std::optional<QString> string()
    {
        const PasteboardData text =
            data(PasteboardDataType::Text, std::numeric_limits<qint64>::max());
        return text.bytes ? std::optional(QString::fromUtf8(*text.bytes)) : std::nullopt;
    }

    virtual void write(const PasteboardContent &content) = 0;
};
