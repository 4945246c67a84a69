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

QCache<QUuid, Entry> &cache()
{
    // A few screenfuls of cards: a long scroll would otherwise keep the facts of thousands.
    static QCache<QUuid, Entry> entries(1024);
    return entries;
}

} // namespace

const ClippingFacts *ClippingFacts::known(const ClippingItem &item)
{
    Entry *entry = cache().object(item.id);
    return entry && entry->fingerprint == Fingerprint::of(item) ? &entry->facts : nullptr;
}

ClippingFacts ClippingFacts::compute(const ClippingItem &item)
{
    return {item.isLargeEmojiOnly(), item.footerMetadataText(),
            item.isSecret() ? item.obfuscatedText() : QString(), 0};
}

const ClippingFacts &ClippingFacts::remember(const ClippingItem &item, ClippingFacts facts)
{
    static quint64 revisions = 0;
    facts.revision = ++revisions;
    auto *entry = new Entry{Fingerprint::of(item), std::move(facts)};
    cache().insert(item.id, entry);
    return entry->facts;
}

const ClippingFacts &ClippingFacts::of(const ClippingItem &item)
{
    if (const ClippingFacts *facts = known(item))
        return *facts;
    return remember(item, compute(item));
}
