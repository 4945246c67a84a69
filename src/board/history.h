#pragma once

#include "model/clippingcollection.h"
#include "model/clippingitem.h"
#include "store/storefile.h"

#include <QList>
#include <QSet>
#include <QUuid>
#include <functional>
#include <future>

// The clippings and the collections, and the file that keeps them. This is the only code that
// changes them: every change ends in commit(), which moves the revision, saves and tells the
// owner once.
class History
{
public:
    struct Changes {
        bool items = false;
        bool collections = false;
        bool any() const { return items || collections; }
    };

    explicit History(const QString &storageDirectory);

    const QList<ClippingItem> &items() const { return m_items; }
    const QList<ClippingCollection> &collections() const { return m_collections; }
    // Moves on every change of the items; caches of an older revision are stale.
    quint64 revision() const { return m_revision; }
    QString storagePath() const { return m_store.path(); }
    const ClippingItem *find(const QUuid &id) const;

    // Called once at the end of every change.
    std::function<void(Changes)> onChanged;
    // Called with what the user should hear once, such as where a damaged file was kept.
    std::function<void(const QString &message)> onNotice;
    // Called once, when the store can no longer be saved for the rest of the run.
    std::function<void(const QString &reason)> onSavingDisabled;
    // Called once when saves start failing (the old file stands), again only after one
    // succeeded. Always on the thread that made the history.
    std::function<void(const QString &message)> onSaveFailed;

    enum class LoadOutcome { Loaded, Empty };
    // Reads the file; a damaged one is kept aside first. Empty means there was nothing to show:
    // the caller seeds. When a damaged file cannot be kept aside, saving is disabled, so that
    // nothing is ever written over it.
    LoadOutcome load(const QDateTime &now);
    // A read of this history's file under way elsewhere, begun before the history existed;
    // load() waits for it and takes what it found.
    void takeReading(std::future<StoreFile::Contents> reading);
    // Before the showcase replaces the history: moves the file aside as it stands on disk. Where
    // it went; an empty text when there was no file; nothing when it could not be moved, and
    // then the history must stay.
    std::optional<QString> keepAsideBeforeDemo(const QDateTime &now);
    // Replaces everything without saving.
    void replace(QList<ClippingItem> items, QList<ClippingCollection> collections);

    // Seals any secret still held in plain, then hands the file to the writer thread. A failed
    // write leaves the old file and the memory state as they are; the next save tries again. A
    // secret that cannot be sealed yet stays in memory, and out of the file.
    void save();
    // Once the clipping key is there: seals what waited for it and tells the owner.
    void sealWaitingSecrets();
    // Returns once every save so far is on disk or has failed and been reported.
    void waitForSaved();

    // Each returns whether it changed anything; a change is saved. Ids are taken by value: they
    // often name a clipping of this very list, which a change may move elsewhere.
    // Puts the clipping first unless it repeats the newest one; trims to the limit.
    bool insert(const ClippingItem &item, qsizetype limit);
    // False also when the text could not be sealed or opened; the clipping then stays as it is.
    bool toggleMask(QUuid id);
    bool toggleFavorite(QUuid id);
    bool addToCollection(QUuid itemID, QUuid collectionID);
    bool removeFromCollection(QUuid itemID, QUuid collectionID);
    bool removeItem(QUuid id);
    // Removes the clippings at the given positions, which are in ascending order.
    bool removeItemsAt(const QList<qsizetype> &positions);
    bool removeUnkept();
    void addCollection(const ClippingCollection &collection);
    // Removes the collection and every membership in it.
    bool removeCollection(QUuid id);
    // Removes every membership in the collection; the collection stays.
    bool emptyCollection(QUuid id);

private:
    ClippingItem *findMutable(QUuid id);
    void settle();
    // Takes the collection off the clipping; whether it was in it.
    bool stripCollection(ClippingItem &item, QUuid collectionID);
    void commit(Changes changes);

    QList<ClippingItem> m_items;
    QList<ClippingCollection> m_collections;
    quint64 m_revision = 0;
    StoreFile m_store;
    bool m_savingDisabled = false;
    bool m_saveFailing = false;
    // Secrets read in plain that could not be sealed yet: the file keeps them as they were.
    QSet<QUuid> m_plainInFile;
    // What changed since the last save, so that the store encodes only that; after a replace,
    // everything.
    QSet<QUuid> m_changed;
    bool m_everythingChanged = true;
    // Last, so that it is waited for before the store it reads goes.
    std::future<StoreFile::Contents> m_reading;
};
