#pragma once

#include "model/clippingjson.h"
#include "statefixture.h"

#include <QFile>
#include <vector>

// A state object started over a given history.
class BoardFixture : public StateFixture
{
public:
    static ClippingItem clip(ClippingItem fields)
    {
        if (fields.sourceAppName.isEmpty())
            fields.sourceAppName = QStringLiteral("Editor");
        return ClippingItem::make(std::move(fields));
    }

protected:
    ClipboardManagerState &makeStateWith(const QList<ClippingItem> &items,
                                         const QList<ClippingCollection> &collections = {})
    {
        m_history = items;
        StoreFile(m_directory.path()).write(items, collections);
        return makeState();
    }

    // Positions in the starting history of the clippings the board shows.
    std::vector<int> visiblePositions() const
    {
        std::vector<int> positions;
        for (const ClippingItem &item : m_state->filteredItems())
            positions.push_back(positionOf(item.id));
        return positions;
    }
    std::optional<int> selectedPosition() const
    {
        const std::optional<QUuid> id = m_state->selectedItemID();
        return id ? std::optional(positionOf(*id)) : std::nullopt;
    }
    void selectPosition(int position) { m_state->setSelectedItemID(m_history[position].id); }

    std::optional<PersistedStore> storedFile() const
    {
        QFile file(storePath());
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        return ClippingJson::decodeStore(file.readAll());
    }

    QList<ClippingItem> m_history;

private:
    int positionOf(const QUuid &id) const
    {
        for (qsizetype position = 0; position < m_history.size(); ++position) {
            if (m_history[position].id == id)
                return int(position);
        }
        return -1;
    }
};
