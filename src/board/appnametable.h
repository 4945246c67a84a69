#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <optional>

// Interned app names: one small id per distinct name, so that comparing the apps of two
// clippings is comparing two integers.
class AppNameTable
{
public:
    int idOf(const QString &name)
    {
        const auto found = m_ids.constFind(name);
        if (found != m_ids.cend())
            return *found;
        m_names.append(name);
        return m_ids.insert(name, int(m_names.size() - 1)).value();
    }
    std::optional<int> find(const QString &name) const
    {
        const auto found = m_ids.constFind(name);
        return found == m_ids.cend() ? std::nullopt : std::optional(*found);
    }
    const QString &name(int id) const { return m_names[id]; }
    int size() const { return int(m_names.size()); }

private:
    QHash<QString, int> m_ids;
    QList<QString> m_names;
};
