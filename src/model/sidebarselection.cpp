#include "sidebarselection.h"

#include <QHash>

QUuid SidebarSelection::collectionID() const
{
    const auto *id = std::get_if<QUuid>(&m_payload);
    return id ? *id : QUuid();
}

QString SidebarSelection::appName() const
{
    const auto *name = std::get_if<QString>(&m_payload);
    return name ? *name : QString();
}

ClippingType SidebarSelection::clippingType() const
{
    const auto *type = std::get_if<ClippingType>(&m_payload);
    return type ? *type : ClippingType::Text;
}

size_t qHash(const SidebarSelection &selection, size_t seed)
{
    seed = qHashMulti(seed, static_cast<int>(selection.kind()));
    switch (selection.kind()) {
    case SidebarSelection::Kind::History:
    case SidebarSelection::Kind::Favorites:
        return seed;
    case SidebarSelection::Kind::Collection:
        return qHash(selection.collectionID(), seed);
    case SidebarSelection::Kind::App:
        return qHash(selection.appName(), seed);
    case SidebarSelection::Kind::Type:
        return qHash(selection.clippingType(), seed);
    }
    Q_UNREACHABLE();
    return seed;
}
