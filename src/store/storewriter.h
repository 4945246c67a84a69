#pragma once

#include "model/clippingitem.h"
#include "model/storeoutline.h"
#include "savedfile.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// Writes the store file on a thread of its own, so that a save costs its caller only the
// hand-over of shared pieces. While a write runs, a newer snapshot replaces the one waiting.
class StoreWriter
{
public:
    // One clipping's part of the file: its encoded form, where it stands in a file written
    // before, or the clipping itself when its encoding is too large to keep and is made here.
    struct Piece {
        QUuid id;
        QByteArray json;
        std::shared_ptr<SavedFile> file;
        StoreOutline::Span span;
        // An index into Snapshot::large, or none.
        qsizetype large = -1;
    };
    struct Snapshot {
        quint64 generation = 0;
        QList<Piece> items;
        QList<ClippingItem> large;
        // The encoded collections, joined with commas.
        QByteArray collections;
    };
    // Where each clipping stands in the file a snapshot became.
    struct Layout {
        quint64 generation = 0;
        std::shared_ptr<SavedFile> file;
        QList<std::pair<QUuid, StoreOutline::Span>> records;
    };

    explicit StoreWriter(const QString &path);
    // Writes the snapshot still waiting before it returns.
    ~StoreWriter();

    void submit(Snapshot snapshot);
    // Returns once everything submitted so far is written or has failed, and reports it.
    void flush();

    // After a write, on the thread that made the writer: the reason of a failure, or an empty
    // text. When several writes end before it runs, only the last one is reported.
    std::function<void(const QString &failure)> onWritten;

    // Lets go of a file here: closing the last descriptor of a large file renamed over frees
    // its blocks, which can take a while.
    void retire(std::shared_ptr<SavedFile> file);
    // The layout of the newest file written since the last call, if any.
    std::optional<Layout> takeLayout();

    // Writes atomically and durably: a temporary file beside the target, synced, renamed over
    // it, then the folder synced. The old file stays whole on failure. Returns the failure; with
    // `layout`, also the new file, held open, and where each clipping went in it.
    static QString writeFile(const QString &path, const Snapshot &snapshot,
                             Layout *layout = nullptr);
    // Removes the temporary files of writes that never finished (the process was killed in the
    // middle): only regular files of ours, named as writeFile names them.
    static void removeLeftovers(const QString &path);

private:
    void run();
    void report();

    QString m_path;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_done;
    std::optional<Snapshot> m_waiting;
    std::optional<QString> m_outcome;
    std::optional<Layout> m_layout;
    bool m_writing = false;
    bool m_stopping = false;
    std::vector<std::shared_ptr<SavedFile>> m_retired;
    // Queued reports run on the thread of this object, and are dropped once it is gone.
    QObject m_context;
    std::thread m_thread;
};
