#pragma once

#include "clippingtype.h"
#include "richcontentkind.h"
#include "timestamp.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUuid>
#include <optional>

// One clipping of the history: a plain value, identified by its id.
struct ClippingItem {
    QUuid id;
    ClippingType type = ClippingType::Text;
    QString textContent;
    std::optional<QByteArray> encryptedPasswordData;
    bool isPassword = false;
    std::optional<bool> isMasked;
    RichContentKind richKind = RichContentKind::PlainText;
    std::optional<QByteArray> rtfData;
    std::optional<QByteArray> imageData;
    std::optional<QString> imageDimensions;
    std::optional<QString> fileName;
    std::optional<QString> filePath;
    std::optional<QString> urlTitle;
    std::optional<QString> colorHex;
    std::optional<QString> calendarSchedule;
    QString sourceAppName;
    QString sourceAppBundleID;
    std::optional<QString> windowTitle;
    Timestamp createdAt;
    bool isFavorite = false;
    QList<QUuid> collectionIDs;
    std::optional<QString> customRelativeTimeOverride;

    // The initialiser: a fresh id and the current time where none is given, and a secret's text
    // sealed at once so that no plain form of it is kept. Without the key yet, the text waits in
    // memory for the next save to seal it. Records read from a file skip this.
    static ClippingItem make(ClippingItem fields);

    bool isSecret() const { return isMasked.value_or(false) || isPassword; }
    // A secret whose text still waits to be sealed, which must not reach the file as it is.
    bool awaitsSealing() const { return isSecret() && !textContent.isEmpty(); }
    QString resolvedText() const;
    QString obfuscatedText() const;
    bool isLargeEmojiOnly() const;
    QString relativeTimeString(Timestamp now = Timestamp::now()) const;
    QString footerMetadataText() const;

    // Moves the clipping between its plain and its secret form. False when its text could not
    // be sealed or opened: it then stays as it was, rather than losing its text.
    bool applyMaskState(bool masked);

    bool operator==(const ClippingItem &) const = default;
};
