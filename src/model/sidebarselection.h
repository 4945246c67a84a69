#pragma once

#include "clippingtype.h"

#include <QObject>
#include <QString>
#include <QUuid>
#include <variant>

// The sidebar entry the board is showing.
class SidebarSelection
{
    Q_GADGET

public:
    enum class Kind { History, Favorites, Collection, App, Type };
    Q_ENUM(Kind)

    SidebarSelection() = default;
    static SidebarSelection history() { return SidebarSelection(); }
    static SidebarSelection favorites() { return SidebarSelection(Kind::Favorites, {}); }
    static SidebarSelection collection(const QUuid &id) { return {Kind::Collection, id}; }
    static SidebarSelection app(const QString &name) { return {Kind::App, name}; }
    static SidebarSelection type(ClippingType type) { return {Kind::Type, type}; }

    Kind kind() const { return m_kind; }
    // Each payload accessor is meaningful only for its own kind.
    QUuid collectionID() const;
    QString appName() const;
    ClippingType clippingType() const;

    bool operator==(const SidebarSelection &) const = default;

private:
    using Payload = std::variant<std::monostate, QUuid, QString, ClippingType>;
    SidebarSelection(Kind kind, Payload payload) : m_kind(kind), m_payload(std::move(payload)) {}

    Kind m_kind = Kind::History;
    Payload m_payload;
};

size_t qHash(const SidebarSelection &selection, size_t seed = 0);
