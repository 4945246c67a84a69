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

void StoreFile::keepDamaged(const QDateTime &now) const
{
    const QString stamp = now.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    QString target = m_path + QStringLiteral(".damaged-") + stamp;
    // Two damaged files within one second must not overwrite each other.
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = m_path + QStringLiteral(".damaged-") + stamp + u'-' + QString::number(n);
    QFile::rename(m_path, target);
}

bool StoreFile::write(const QList<ClippingItem> &items,
                      const QList<ClippingCollection> &collections)
{
    QHash<QUuid, EncodedItem> encoded;
    encoded.reserve(items.size());
    for (const ClippingItem &item : items) {
        const auto cached = m_encoded.constFind(item.id);
        if (cached != m_encoded.cend() && cached->item == item)
            encoded.insert(item.id, *cached);
        else
            encoded.insert(item.id, {item, ClippingJson::encode(item)});
    }
    m_encoded = std::move(encoded);

    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);

    bool ok = file.write("{\"items\":[") >= 0;
    for (qsizetype i = 0; ok && i < items.size(); ++i) {
        if (i > 0)
            ok = file.write(",", 1) == 1;
        const QByteArray &json = m_encoded.constFind(items[i].id)->json;
        ok = ok && file.write(json) == json.size();
    }
    ok = ok && file.write("],\"collections\":[") >= 0;
    for (qsizetype i = 0; ok && i < collections.size(); ++i) {
        if (i > 0)
            ok = file.write(",", 1) == 1;
        const QByteArray json = ClippingJson::encode(collections[i]);
        ok = ok && file.write(json) == json.size();
    }
    ok = ok && file.write("]}") == 2;
    if (!ok) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
