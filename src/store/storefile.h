#pragma once

#include "model/clippingjson.h"
#include "savedfile.h"
#include "storewriter.h"

#include <QDateTime>
#include <QHash>
#include <QSet>
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
    // Keeps each loaded clipping's record where it stands in the file, as its encoded form,
    // where it is exactly what the encoder writes.
    ReadResult read() { return adopt(readContents(m_path)); }

    // What a store file holds, read without a StoreFile, so that it can be read on any thread,
    // even before the program has opened its store.
    struct Contents {
        ReadResult read;
        // The file read, still mapped, and where each clipping stands in it.
        std::shared_ptr<SavedFile> file;
        QList<StoreOutline::Span> spans;
    };
    // A file larger than the memory available counts as damaged, as does one whose clippings
    // do not fit in memory: either would stop every start.
    static Contents readContents(const QString &path);
    static Contents readContentsWithin(const QString &path, qint64 memoryAvailable);
    // Takes what was read from this store's path, as read() does.
    ReadResult adopt(Contents contents);

    // Moves the file (or whatever stands at the path) aside as
    // clippings_store_v1.json.<label>-<UTC yyyyMMddTHHmmssZ>, so that seeding never destroys it:
    // "damaged" for a file that did not read, "before-demo" for one the showcase replaces.
    // Where it went, or nothing when it could not be moved: then nothing may be written over it.
    std::optional<QString> keepAside(const QString &label, const QDateTime &now) const;

    // Hands the file's new content to the writer thread, which replaces the file atomically
    // with mode 0600. `changed` names every clipping that may differ from what this store last
    // read or wrote; the others reuse their encoded form. Without it, all are encoded anew.
    void write(const QList<ClippingItem> &items, const QList<ClippingCollection> &collections,
               const QSet<QUuid> *changed = nullptr);
    // Returns once everything handed over is on disk or has failed, and reports it, and what
    // was read is indexed.
    void flush();
    // Returns once what was read is indexed; until then the index shares the list read.
    void waitForIndex();

    // After each write, on this object's thread: the reason of a failure, or an empty text.
    std::function<void(const QString &failure)> onWritten;

    // Encoded clippings longer than this are not kept in memory until they are on disk, but
    // made by the writer: they are mostly Base64 of images.
    static constexpr qsizetype keptEncodingLimit = 64 * 1024;

private:
    // A clipping's encoded form as it stands in a file written before, or in memory until the
    // write that carries it is done; neither while a large one is being written.
    struct Encoded {
        std::shared_ptr<SavedFile> file;
        StoreOutline::Span span;
        QByteArray json;
        // The write that first carried this form, and the last one.
        quint64 since = 0;
        quint64 seen = 0;
        bool usable() const { return (file && !file->knownChanged()) || !json.isEmpty(); }
    };

    // Fills m_encoded with the records read that encode as they stand, on a thread of its
    // own, since only a write needs it; every other use of m_encoded waits for it first.
    void indexInBackground(QList<ClippingItem> items, std::shared_ptr<SavedFile> file,
                           QList<StoreOutline::Span> spans);
    // Points the clippings a finished write carried unchanged at the file it made.
    void takeLayout();

    QString m_path;
    QHash<QUuid, Encoded> m_encoded;
    quint64 m_generation = 0;
    std::unique_ptr<StoreWriter> m_writer;
    std::future<void> m_indexing;
};
