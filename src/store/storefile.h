#pragma once

#include "model/clippingjson.h"

#include <QDateTime>
#include <QHash>
#include <QString>

// The one JSON file that holds the history and the collections.
class StoreFile
{
public:
    // Creates the folder (mode 0700) if needed; a failure shows up as failing saves.
    explicit StoreFile(const QString &directory);

    // $XDG_DATA_HOME/Quillstash
    static QString defaultDirectory();
    static QString fileName() { return QStringLiteral("clippings_store_v1.json"); }

    QString path() const { return m_path; }

    enum class ReadStatus { Loaded, Missing, Damaged };
    struct ReadResult {
        ReadStatus status = ReadStatus::Missing;
        PersistedStore store;
    };
    ReadResult read() const;

    // Moves a damaged file (or whatever stands at the path) aside as
    // clippings_store_v1.json.damaged-<UTC yyyyMMddTHHmmssZ>, so that seeding never destroys it.
    // False when it could not be moved: then nothing may be written over it.
    bool keepDamaged(const QDateTime &now) const;

    // Writes the file atomically with mode 0600. Clippings that did not change since the last
    // write reuse their encoded form. False when anything failed; the old file then stands.
    bool write(const QList<ClippingItem> &items, const QList<ClippingCollection> &collections);

private:
    struct EncodedItem {
        ClippingItem item;
        QByteArray json;
        quint64 generation;
    };

    QString m_path;
    QHash<QUuid, EncodedItem> m_encoded;
    quint64 m_generation = 0;
};
