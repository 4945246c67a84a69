#include "storefile.h"

#include "model/storeoutline.h"
#include "privatefiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace
{

// The encoded size of a clipping, from above; Base64 makes four bytes of three.
qsizetype encodedSizeBound(const ClippingItem &item)
{
    qsizetype bytes = 0;
    for (const std::optional<QByteArray> *field :
         {&item.imageData, &item.rtfData, &item.encryptedPasswordData})
        bytes += *field ? (*field)->size() : 0;
    // Escaped text can grow sixfold.
    return bytes / 3 * 4 + 4 + (item.textContent.size() + item.sourceAppName.size()) * 6 + 1024;
}

bool sameBytes(const std::optional<QByteArray> &a, const std::optional<QByteArray> &b)
{
    // Shared data is equal without comparing megabytes of image.
    if (a && b && a->constData() == b->constData() && a->size() == b->size())
        return true;
    return a == b;
}

bool unchanged(const ClippingItem &cached, const ClippingItem &now)
{
    if (!cached.imageData && !now.imageData)
        return cached == now;
    if (!sameBytes(cached.imageData, now.imageData))
        return false;
    ClippingItem a = cached;
    ClippingItem b = now;
    a.imageData.reset();
    b.imageData.reset();
    return a == b;
}

} // namespace

StoreFile::StoreFile(const QString &directory)
    : m_path(filePath(directory)), m_writer(std::make_unique<StoreWriter>(m_path))
{
    PrivateFiles::makePrivateDirectory(directory);
    // Nothing has been handed to the writer yet, so every temporary file here is stale.
    StoreWriter::removeLeftovers(m_path);
    m_writer->onWritten = [this](const QString &failure) {
        if (onWritten)
            onWritten(failure);
    };
}

QString StoreFile::defaultDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Quillstash");
}

QString StoreFile::filePath(const QString &directory)
{
    return QDir(directory).filePath(fileName());
}

StoreFile::Contents StoreFile::readContents(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return {{ReadStatus::Missing, {}}, {}};

    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return {{ReadStatus::Damaged, {}}, {}};
    // Read with room behind the text, so that the decoder parses it where it lies.
    QByteArray json;
    json.reserve(info.size() + StoreOutline::paddingBytes);
    json.resize(info.size());
    const qint64 got = file.read(json.data(), json.size());
    if (got >= 0) {
        json.resize(got);
        json += file.readAll();
    }
    if (got < 0 || file.error() != QFileDevice::NoError)
        return {{ReadStatus::Damaged, {}}, {}};

    QByteArrayList texts;
    std::optional<PersistedStore> store =
        ClippingJson::decodeStore(json, &texts, keptEncodingLimit);
    if (!store)
        return {{ReadStatus::Damaged, {}}, {}};
    // New clippings go in front: the room for them is made here, off the thread that captures,
    // rather than by moving the whole list on the first capture.
    store->items.prepend(ClippingItem());
    store->items.removeFirst();
    return {{ReadStatus::Loaded, std::move(*store)}, std::move(texts)};
}

StoreFile::ReadResult StoreFile::adopt(Contents contents)
{
    indexInBackground(contents.read.store.items, std::move(contents.texts));
    return std::move(contents.read);
}

void StoreFile::indexInBackground(QList<ClippingItem> items, QByteArrayList texts)
{
    waitForIndex();
    m_encoded.clear();
    const quint64 generation = ++m_generation;
    m_indexing = std::async(std::launch::async, [this, generation, items = std::move(items),
                                                 texts = std::move(texts)]() mutable {
        m_encoded.reserve(items.size());
        for (qsizetype i = 0; i < items.size(); ++i) {
            const ClippingItem &item = std::as_const(items)[i];
            if (!texts.at(i).isEmpty())
                m_encoded.insert(item.id, {item, texts.at(i), generation});
        }
        // Let go at once: a list still shared when the history first changes would be copied.
        items = {};
        texts = {};
    });
}

void StoreFile::waitForIndex()
{
    if (m_indexing.valid())
        m_indexing.get();
}

std::optional<QString> StoreFile::keepAside(const QString &label, const QDateTime &now) const
{
    const QString stem =
        m_path + u'.' + label + u'-' + now.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    QString target = stem;
    // Two files kept within one second must not overwrite each other.
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = stem + u'-' + QString::number(n);
    if (!QFile::rename(m_path, target))
        return std::nullopt;
    return target;
}

void StoreFile::write(const QList<ClippingItem> &items,
                      const QList<ClippingCollection> &collections)
{
    waitForIndex();
    ++m_generation;
    StoreWriter::Snapshot snapshot;
    snapshot.items.reserve(items.size());
    for (const ClippingItem &item : items) {
        auto entry = m_encoded.find(item.id);
        if (entry != m_encoded.end() && unchanged(entry->item, item)) {
            entry->generation = m_generation;
            snapshot.items.append({entry->json, std::nullopt});
        } else if (encodedSizeBound(item) > keptEncodingLimit) {
            if (entry != m_encoded.end())
                m_encoded.erase(entry);
            snapshot.items.append({{}, item});
        } else {
            const QByteArray json = ClippingJson::encode(item);
            m_encoded.insert(item.id, {item, json, m_generation});
            snapshot.items.append({json, std::nullopt});
        }
    }
    QByteArrayList encodedCollections;
    encodedCollections.reserve(collections.size());
    for (const ClippingCollection &collection : collections)
        encodedCollections.append(ClippingJson::encode(collection));
    snapshot.collections = encodedCollections.join(',');

    // Deleted clippings leave their encodings behind.
    if (m_encoded.size() > items.size())
        m_encoded.removeIf(
            [this](const auto &entry) { return entry.value().generation != m_generation; });

    m_writer->submit(std::move(snapshot));
}

void StoreFile::flush()
{
    waitForIndex();
    m_writer->flush();
}
