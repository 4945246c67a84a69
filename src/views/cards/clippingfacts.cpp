#include "clippingfacts.h"

#include "model/clippingitem.h"
#include "model/passwordcrypto.h"

#include <QCache>

namespace
{

// What the facts depend on. Strings are compared by their shared data, which is what a copy
// of the same clipping carries; a changed text has other data.
struct Fingerprint {
    ClippingType type;
    RichContentKind richKind;
    bool isSecret;
    const QChar *text;
    qsizetype textSize;
    const char *sealed;
    qsizetype sealedSize;
    const char *image;
    qsizetype imageSize;
    QString imageDimensions;
    QString filePath;
    QString fileName;
    QString colorHex;
    QString urlTitle;
    QString calendarSchedule;
    // A secret's counts change when its key arrives.
    quint64 keyGeneration;

    static Fingerprint of(const ClippingItem &item)
    {
        return {item.type,
                item.richKind,
                item.isSecret(),
                item.textContent.constData(),
                item.textContent.size(),
                item.encryptedPasswordData ? item.encryptedPasswordData->constData() : nullptr,
                item.encryptedPasswordData ? item.encryptedPasswordData->size() : 0,
                item.imageData ? item.imageData->constData() : nullptr,
                item.imageData ? item.imageData->size() : 0,
                item.imageDimensions.value_or(QString()),
                item.filePath.value_or(QString()),
                item.fileName.value_or(QString()),
                item.colorHex.value_or(QString()),
                item.urlTitle.value_or(QString()),
                item.calendarSchedule.value_or(QString()),
                item.isSecret() ? PasswordCrypto::keyGeneration() : 0};
    }
    bool operator==(const Fingerprint &) const = default;
};

struct Entry {
    Fingerprint fingerprint;
    ClippingFacts facts;
};

} // namespace

const ClippingFacts &ClippingFacts::of(const ClippingItem &item)
{
    static QCache<QUuid, Entry> cache(4096);
    const Fingerprint fingerprint = Fingerprint::of(item);
    if (Entry *entry = cache.object(item.id); entry && entry->fingerprint == fingerprint)
        return entry->facts;
    static quint64 revisions = 0;
    auto *entry = new Entry{fingerprint,
                            {item.isLargeEmojiOnly(), item.footerMetadataText(),
                             item.isSecret() ? item.obfuscatedText() : QString(), ++revisions}};
    cache.insert(item.id, entry);
    return entry->facts;
}
