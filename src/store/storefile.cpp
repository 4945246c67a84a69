#include "storefile.h"

#include "backgroundhold.h"
#include "freedmemory.h"
#include "model/storeoutline.h"
#include "privatefiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cstdio>
#include <limits>
#include <new>

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

// What the system could still give this process: free memory, caches it can drop, and swap.
qint64 availableMemory()
{
    QFile meminfo(QStringLiteral("/proc/meminfo"));
    if (!meminfo.open(QIODevice::ReadOnly))
        return std::numeric_limits<qint64>::max();
    qint64 kilobytes = 0;
    bool known = false;
    for (const QByteArray &line : meminfo.readAll().split('\n')) {
        if (line.startsWith("MemAvailable:") || line.startsWith("SwapFree:")) {
            kilobytes += line.mid(line.indexOf(':') + 1).trimmed().split(' ').value(0).toLongLong();
            known = true;
        }
    }
    return known ? kilobytes * 1024 : std::numeric_limits<qint64>::max();
}

// Captures a session may take before the list of what was read has to grow at its front.
constexpr qsizetype capturesInFront = 512;

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
    return readContentsWithin(path, availableMemory());
}

StoreFile::Contents StoreFile::readContentsWithin(const QString &path, qint64 memoryAvailable)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return {{ReadStatus::Missing, {}}, {}, {}};

    std::shared_ptr<SavedFile> file =
        info.isFile() ? SavedFile::open(QFile::encodeName(path)) : nullptr;
    if (!file)
        return {{ReadStatus::Damaged, {}}, {}, {}};
    if (file->size() > memoryAvailable) {
        std::fprintf(stderr,
                     "quillstash: the store file %s (%lld MB) is larger than the memory "
                     "available (%lld MB); it is kept aside, unread.\n",
                     qPrintable(path), static_cast<long long>(file->size() >> 20),
                     static_cast<long long>(memoryAvailable >> 20));
        return {{ReadStatus::Damaged, {}}, {}, {}};
    }
    if (!file->map())
        return {{ReadStatus::Damaged, {}}, {}, {}};
    try {
        QList<StoreOutline::Span> spans;
        // New clippings go in front: the room for them is made here, off the thread that
        // captures, rather than by moving the whole list on the first capture.
        std::optional<PersistedStore> store =
            ClippingJson::decodePaddedStore(file->text(), file->room(), &spans, capturesInFront);
        if (!store)
            return {{ReadStatus::Damaged, {}}, {}, {}};
        return {{ReadStatus::Loaded, std::move(*store)}, std::move(file), std::move(spans)};
    } catch (const std::bad_alloc &) {
        std::fprintf(stderr,
                     "quillstash: the clippings of the store file %s do not fit in "
                     "memory; it is kept aside.\n",
                     qPrintable(path));
        return {{ReadStatus::Damaged, {}}, {}, {}};
    }
}

StoreFile::ReadResult StoreFile::adopt(Contents contents)
{
    if (contents.file)
        indexInBackground(contents.read.store.items, std::move(contents.file),
                          std::move(contents.spans));
    return std::move(contents.read);
}

void StoreFile::indexInBackground(QList<ClippingItem> items, std::shared_ptr<SavedFile> file,
                                  QList<StoreOutline::Span> spans)
{
    waitForIndex();
    m_encoded.clear();
    const quint64 generation = ++m_generation;
    m_indexing = std::async(std::launch::async, [this, generation, items = std::move(items),
                                                 file = std::move(file),
                                                 spans = std::move(spans)]() mutable {
        BackgroundHold::waitUntilLifted();
        m_encoded.reserve(items.size());
        const std::string_view text = file->text();
        for (qsizetype i = 0; i < items.size(); ++i) {
            const ClippingItem &item = std::as_const(items)[i];
            const StoreOutline::Span span = spans.at(i);
            // A record in another form (another version's, or with keys given twice) is
            // written anew, so that the file comes to hold exactly what the encoder writes.
            if (ClippingJson::isAsEncoded(item,
                                          text.substr(size_t(span.begin), size_t(span.size()))))
                m_encoded.insert(item.id, {file, span, {}, generation, generation});
        }
        // Let go at once: a list still shared when the history first changes would be copied.
        // Later writes copy records through the descriptor, so the pages need not stay.
        items = {};
        file->unmap();
        // The read's parsers and copies were freed amid the clippings they made.
        FreedMemory::giveBack();
    });
}

void StoreFile::waitForIndex()
{
    if (!m_indexing.valid())
        return;
    // Wanted now: whatever waits for the first frame would hold up the caller as well.
    BackgroundHold::lift();
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

void StoreFile::takeLayout()
{
    std::optional<StoreWriter::Layout> layout = m_writer->takeLayout();
    if (!layout)
        return;
    std::shared_ptr<SavedFile> older;
    for (const auto &[id, span] : std::as_const(layout->records)) {
        auto entry = m_encoded.find(id);
        // Only forms that the write carried, and that have not changed since.
        if (entry != m_encoded.end() && entry->since <= layout->generation) {
            if (entry->file && entry->file != layout->file && entry->file != older) {
                if (older)
                    m_writer->retire(std::move(older));
                older = entry->file;
            }
            entry->file = layout->file;
            entry->span = span;
            entry->json = {};
        }
    }
    if (older)
        m_writer->retire(std::move(older));
}

void StoreFile::write(const QList<ClippingItem> &items,
                      const QList<ClippingCollection> &collections, const QSet<QUuid> *changed)
{
    waitForIndex();
    takeLayout();
    const quint64 generation = ++m_generation;
    StoreWriter::Snapshot snapshot;
    snapshot.generation = generation;
    snapshot.items.reserve(items.size());
    for (const ClippingItem &item : items) {
        auto entry = m_encoded.find(item.id);
        if (entry != m_encoded.end() && changed && !changed->contains(item.id) && entry->usable()) {
            entry->seen = generation;
            snapshot.items.append({item.id, entry->json, entry->file, entry->span});
        } else if (encodedSizeBound(item) > keptEncodingLimit) {
            // Known from here on only by where the writer puts it.
            m_encoded.insert(item.id, {nullptr, {}, {}, generation, generation});
            snapshot.items.append({item.id, {}, nullptr, {}, snapshot.large.size()});
            snapshot.large.append(item);
        } else {
            const QByteArray json = ClippingJson::encode(item);
            m_encoded.insert(item.id, {nullptr, {}, json, generation, generation});
            snapshot.items.append({item.id, json});
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
            [generation](const auto &entry) { return entry.value().seen != generation; });

    m_writer->submit(std::move(snapshot));
}

void StoreFile::flush()
{
    waitForIndex();
    m_writer->flush();
}
