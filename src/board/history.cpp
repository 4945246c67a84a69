#include "history.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>

History::History(const QString &storageDirectory) : m_store(storageDirectory)
{
    m_store.onWritten = [this](const QString &failure) {
        const bool reported = m_saveFailing;
        m_saveFailing = !failure.isEmpty();
        if (m_saveFailing && !reported && onSaveFailed)
            onSaveFailed(QCoreApplication::translate("History", "Could not save clippings: %1")
                             .arg(failure));
    };
}

const ClippingItem *History::find(const QUuid &id) const
{
    const auto found = std::find_if(m_items.cbegin(), m_items.cend(),
                                    [&](const ClippingItem &item) { return item.id == id; });
    return found == m_items.cend() ? nullptr : &*found;
}

ClippingItem *History::findMutable(QUuid id)
{
    // Through the list's own mutable access, which detaches it from any copy that shares it.
    const auto found = std::find_if(m_items.begin(), m_items.end(),
                                    [&](const ClippingItem &item) { return item.id == id; });
    return found == m_items.end() ? nullptr : &*found;
}

History::LoadOutcome History::load(const QDateTime &now)
{
    StoreFile::ReadResult read =
        m_reading.valid() ? m_store.adopt(m_reading.get()) : m_store.read();
    if (read.status == StoreFile::ReadStatus::Damaged) {
        if (const std::optional<QString> kept = m_store.keepAside(QStringLiteral("damaged"), now)) {
            if (onNotice)
                onNotice(QCoreApplication::translate(
                             "History", "The store file could not be read; it was kept as %1.")
                             .arg(*kept));
        } else {
            m_savingDisabled = true;
            if (onSavingDisabled)
                onSavingDisabled(QCoreApplication::translate(
                                     "History",
                                     "The damaged store file %1 could not be moved aside; "
                                     "clippings of this run will not be saved.")
                                     .arg(m_store.path()));
        }
    }
    if (read.status != StoreFile::ReadStatus::Loaded || read.store.items.isEmpty())
        return LoadOutcome::Empty;

    // Read only, unless something needs mending: the store still shares the list for a moment.
    QList<ClippingItem> &items = read.store.items;
    bool migrated = false;
    QSet<QUuid> plainInFile;
    QSet<QUuid> mended;
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (std::as_const(items)[i].sourceAppName == u"Google Chrome") {
            items[i].sourceAppName = QStringLiteral("Chrome");
            mended.insert(items[i].id);
        }
        const ClippingItem &item = std::as_const(items)[i];
        if (item.isSecret() && (!item.textContent.isEmpty() || !item.isPassword)) {
            // Mending detaches the list from the store's share, which may then free what item
            // refers to.
            const QUuid id = item.id;
            // Without the key the record stays as the file has it, until a later save seals it.
            if (items[i].applyMaskState(true)) {
                mended.insert(id);
                migrated = true;
            } else {
                plainInFile.insert(id);
            }
        }
    }
    replace(std::move(read.store.items), std::move(read.store.collections));
    m_plainInFile = std::move(plainInFile);
    // The store knows the rest as it read them.
    m_changed = std::move(mended);
    m_everythingChanged = false;
    if (migrated)
        save();
    return LoadOutcome::Loaded;
}

std::optional<QString> History::keepAsideBeforeDemo(const QDateTime &now)
{
    settle();
    m_store.flush();
    if (m_savingDisabled)
        return std::nullopt;
    if (!QFileInfo::exists(m_store.path()))
        return QString();
    return m_store.keepAside(QStringLiteral("before-demo"), now);
}

void History::settle()
{
    // The store indexes what it read while holding the list; changing the list before that ends
    // would copy it, and leave references into the old one to die on another thread.
    m_store.waitForIndex();
}

void History::takeReading(std::future<StoreFile::Contents> reading)
{
    m_reading = std::move(reading);
}

void History::replace(QList<ClippingItem> items, QList<ClippingCollection> collections)
{
    m_plainInFile.clear();
    m_everythingChanged = true;
    m_items = std::move(items);
    m_collections = std::move(collections);
    ++m_revision;
    if (onChanged)
        onChanged({.items = true, .collections = true});
}

void History::save()
{
    settle();
    bool sealed = false;
    bool waiting = false;
    for (ClippingItem &item : m_items) {
        if (item.awaitsSealing()) {
            const bool done = item.applyMaskState(true);
            if (done)
                m_changed.insert(item.id);
            sealed = sealed || done;
            waiting = waiting || !done;
        }
    }
    if (sealed) {
        ++m_revision;
        if (onChanged)
            onChanged({.items = true});
    }
    if (m_savingDisabled)
        return;
    const QSet<QUuid> *changed = m_everythingChanged ? nullptr : &m_changed;
    if (!waiting) {
        m_store.write(m_items, m_collections, changed);
    } else {
        // A secret that waits for its key is left out of the file, unless the file held it so
        // already; it is written once sealed.
        QList<ClippingItem> written;
        written.reserve(m_items.size());
        for (const ClippingItem &item : std::as_const(m_items)) {
            if (!item.awaitsSealing() || m_plainInFile.contains(item.id))
                written.append(item);
        }
        m_store.write(written, m_collections, changed);
    }
    m_changed.clear();
    m_everythingChanged = false;
}

void History::sealWaitingSecrets()
{
    // Also redoes what was shown of secrets without the key: their dots and counts.
    commit({.items = true});
}

void History::waitForSaved()
{
    m_store.flush();
}

void History::commit(Changes changes)
{
    if (changes.items)
        ++m_revision;
    save();
    if (onChanged)
        onChanged(changes);
}

bool History::stripCollection(ClippingItem &item, QUuid collectionID)
{
    if (item.collectionIDs.removeAll(collectionID) == 0)
        return false;
    m_changed.insert(item.id);
    return true;
}

bool History::insert(const ClippingItem &item, qsizetype limit)
{
    settle();
    if (!m_items.isEmpty()) {
        const ClippingItem &newest = m_items.first();
        if (newest.type == item.type && !item.isPassword && item.type != ClippingType::Image &&
            newest.textContent == item.textContent)
            return false;
    }
    m_items.prepend(item);
    m_changed.insert(item.id);
    // A limit below one (only possible by direct assignment) still keeps the new clipping.
    limit = std::max<qsizetype>(limit, 1);
    if (m_items.size() > limit)
        m_items.resize(limit);
    commit({.items = true});
    return true;
}

bool History::toggleMask(QUuid id)
{
    settle();
    ClippingItem *item = findMutable(id);
    if (!item)
        return false;
    if (!item->applyMaskState(!item->isSecret()))
        return false;
    m_changed.insert(id);
    commit({.items = true});
    return true;
}

bool History::toggleFavorite(QUuid id)
{
    settle();
    ClippingItem *item = findMutable(id);
    if (!item)
        return false;
    item->isFavorite = !item->isFavorite;
    m_changed.insert(id);
    commit({.items = true});
    return true;
}

bool History::addToCollection(QUuid itemID, QUuid collectionID)
{
    settle();
    ClippingItem *item = findMutable(itemID);
    if (!item || item->collectionIDs.contains(collectionID))
        return false;
    item->collectionIDs.append(collectionID);
    m_changed.insert(itemID);
    commit({.items = true});
    return true;
}

bool History::removeFromCollection(QUuid itemID, QUuid collectionID)
{
    settle();
    ClippingItem *item = findMutable(itemID);
    if (!item || item->collectionIDs.removeAll(collectionID) == 0)
        return false;
    m_changed.insert(itemID);
    commit({.items = true});
    return true;
}

bool History::removeItem(QUuid id)
{
    settle();
    const auto found = std::find_if(m_items.begin(), m_items.end(),
                                    [&](const ClippingItem &item) { return item.id == id; });
    if (found == m_items.end())
        return false;
    m_items.erase(found);
    commit({.items = true});
    return true;
}

bool History::removeItemsAt(const QList<qsizetype> &positions)
{
    settle();
    if (positions.isEmpty())
        return false;
    QList<ClippingItem> kept;
    kept.reserve(m_items.size() - positions.size());
    auto next = positions.cbegin();
    for (qsizetype index = 0; index < m_items.size(); ++index) {
        if (next != positions.cend() && *next == index)
            ++next;
        else
            kept.append(m_items[index]);
    }
    m_items = std::move(kept);
    commit({.items = true});
    return true;
}

bool History::removeUnkept()
{
    settle();
    QList<qsizetype> positions;
    for (qsizetype index = 0; index < m_items.size(); ++index) {
        if (!m_items[index].isFavorite && m_items[index].collectionIDs.isEmpty())
            positions.append(index);
    }
    return removeItemsAt(positions);
}

void History::addCollection(const ClippingCollection &collection)
{
    m_collections.append(collection);
    commit({.collections = true});
}

bool History::removeCollection(QUuid id)
{
    settle();
    Changes changes;
    changes.collections =
        m_collections.removeIf([&](const ClippingCollection &kept) { return kept.id == id; }) > 0;
    for (ClippingItem &item : m_items)
        changes.items = stripCollection(item, id) || changes.items;
    if (!changes.any())
        return false;
    commit(changes);
    return true;
}

bool History::emptyCollection(QUuid id)
{
    settle();
    bool stripped = false;
    for (ClippingItem &item : m_items)
        stripped = stripCollection(item, id) || stripped;
    if (!stripped)
        return false;
    commit({.items = true});
    return true;
}
