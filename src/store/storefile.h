#pragma once

#include "model/clippingjson.h"
#include "storewriter.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <functional>
#include <future>
#include <memory>
#include <optional>

// The one JSON file that holds the history and the collections.
class StoreFile
{
public:
    // Creates the folder (mode 0700) if needed; a failure shows up as failing saves. Removes
    // what writes killed midway left there.
    explicit StoreFile(const QString &directory);

    // $XDG_DATA_HOME/Quillstash
    static QString defaultDirectory();
    static QString fileName() { return QStringLiteral("clippings_store_v1.json"); }
    static QString filePath(const QString &directory);

    QString path() const { return m_path; }

    enum class ReadStatus { Loaded, Missing, Damaged };
    struct ReadResult {
        ReadStatus status = ReadStatus::Missing;
        PersistedStore store;
    };
    // Keeps the text of each loaded clipping that is small enough as its encoded form.
    ReadResult read() { return adopt(readContents(m_path)); }

    // What a store file holds, read without a StoreFile, so that it can be read on any thread,
    // even before the program has opened its store.
    struct Contents {
        ReadResult read;
        // Each clipping's text as it stands in the file; empty where it is too long to keep.
        QByteArrayList texts;
    };
    static Contents readContents(const QString &path);
    // Takes what was read from this store's path, as read() does.
    ReadResult adopt(Contents contents);

    // Moves the file (or whatever stands at the path) aside as
    // clippings_store_v1.json.<label>-<UTC yyyyMMddTHHmmssZ>, so that seeding never destroys it:
    // "damaged" for a file that did not read, "before-demo" for one the showcase replaces.
    // Where it went, or nothing when it could not be moved: then nothing may be written over it.
    std::optional<QString> keepAside(const QString &label, const QDateTime &now) const;

    // Hands the file's new content to the writer thread, which replaces the file atomically
    // with mode 0600. Clippings that did not change reuse their encoded form.
    void write(const QList<ClippingItem> &items, const QList<ClippingCollection> &collections);
    // Returns once everything handed over is on disk or has failed, and reports it, and what
    // was read is indexed.
    void flush();
    // Returns once what was read is indexed; until then the index shares the list read.
    void waitForIndex();

    // After each write, on this object's thread: the reason of a failure, or an empty text.
    std::function<void(const QString &failure)> onWritten;

    // Encoded clippings longer than this are not kept between saves but made again by the
    // writer: they are mostly Base64 of images.
    static constexpr qsizetype keptEncodingLimit = 64 * 1024;

private:
    struct EncodedItem {
        ClippingItem item;
        QByteArray json;
        quint64 generation;
    };

    // Fills m_encoded with what read() decoded, on a thread of its own, since only a write needs
    // it; every other use of m_encoded waits for it first.
    void indexInBackground(QList<ClippingItem> items, QByteArrayList texts);

    QString m_path;
    QHash<QUuid, EncodedItem> m_encoded;
    quint64 m_generation = 0;
    std::unique_ptr<StoreWriter> m_writer;
    std::future<void> m_indexing;
};
