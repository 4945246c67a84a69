#pragma once

#include <QHashFunctions>
#include <QString>
#include <QUuid>

struct ClippingCollection {
    QUuid id;
    QString name;

    // A new collection with a fresh random id.
    static ClippingCollection named(const QString &name) { return {QUuid::createUuid(), name}; }

    bool operator==(const ClippingCollection &) const = default;
};

inline size_t qHash(const ClippingCollection &collection, size_t seed = 0)
{
    return qHashMulti(seed, collection.id, collection.name);
}
