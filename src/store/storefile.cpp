#include "storefile.h"

#include "privatefiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <simdjson.h>

StoreFile::StoreFile(const QString &directory) : m_path(QDir(directory).filePath(fileName()))
{
    PrivateFiles::makePrivateDirectory(directory);
}

QString StoreFile::defaultDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Quillstash");
}

StoreFile::ReadResult StoreFile::read() const
{
    const QFileInfo info(m_path);
    if (!info.exists() && !info.isSymLink())
        return {ReadStatus::Missing, {}};

    QFile file(m_path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return {ReadStatus::Damaged, {}};
    // Read into a buffer with room for the parser's padding, so it need not copy the file.
    QByteArray json;
    const qint64 size = file.size();
    json.reserve(size + qsizetype(simdjson::SIMDJSON_PADDING));
    json.resize(size);
    if (file.read(json.data(), size) != size)
        return {ReadStatus::Damaged, {}};

    std::optional<PersistedStore> store = ClippingJson::decodeStore(json);
    if (!store)
        return {ReadStatus::Damaged, {}};
    return {ReadStatus::Loaded, std::move(*store)};
}

bool StoreFile::keepDamaged(const QDateTime &now) const
{
    const QString stamp = now.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    QString target = m_path + QStringLiteral(".damaged-") + stamp;
    // Two damaged files within one second must not overwrite each other.
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = m_path + QStringLiteral(".damaged-") + stamp + u'-' + QString::number(n);
    return QFile::rename(m_path, target);
}

bool StoreFile::write(const QList<ClippingItem> &items,
                      const QList<ClippingCollection> &collections)
{
    // Bring the encoded forms up to date first, so that the file is written in one piece.
    ++m_generation;
    // Shared copies, not pointers: inserting into the hash may move its entries.
    QByteArrayList encodedItems;
    encodedItems.reserve(items.size());
    qsizetype size = 64;
    for (const ClippingItem &item : items) {
        auto entry = m_encoded.find(item.id);
        if (entry == m_encoded.end())
            entry = m_encoded.insert(item.id, {item, ClippingJson::encode(item), 0});
        else if (!(entry->item == item))
            *entry = {item, ClippingJson::encode(item), 0};
        entry->generation = m_generation;
        encodedItems.append(entry->json);
        size += entry->json.size() + 1;
    }
    QList<QByteArray> encodedCollections;
    for (const ClippingCollection &collection : collections) {
        encodedCollections.append(ClippingJson::encode(collection));
        size += encodedCollections.last().size() + 1;
    }

    QByteArray json;
    json.reserve(size);
    json += "{\"items\":[";
    for (qsizetype i = 0; i < encodedItems.size(); ++i) {
        if (i > 0)
            json += ',';
        json += encodedItems[i];
    }
    json += "],\"collections\":[";
    json += encodedCollections.join(',');
    json += "]}";

    // Deleted clippings leave their encodings behind.
    if (m_encoded.size() > items.size())
        m_encoded.removeIf(
            [this](const auto &entry) { return entry.value().generation != m_generation; });

    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    if (file.write(json) != json.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
