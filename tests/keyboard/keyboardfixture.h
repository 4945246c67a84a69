#pragma once

#include "statefixture.h"

#include <QStringList>

// A state loaded with five clippings in a 3-column grid, and a log of everything the board's
// commands did to it or asked of the shell.
class KeyboardFixture : public StateFixture
{
protected:
    // alpha (text with rich text), beta, gamma, a link, a file.
    static QList<ClippingItem> sampleItems();

    // Loads the samples; the newest (alpha) is selected, as after every start.
    ClipboardManagerState &start();
    // Every observable change since the previous call, in a fixed order.
    QStringList effects();
    QString nameOf(const std::optional<QUuid> &id) const;
    ClippingItem itemNamed(const QString &name) const;

    QStringList m_log;

private:
    struct Snapshot {
        QList<ClippingItem> items;
        std::optional<QUuid> selected;
        std::optional<ClippingItem> quickLook;
        QString searchText;
        SidebarSelection sidebar;
        bool sidebarVisible = true;
        int rows = 0;
        int columns = 0;
        bool anchored = false;
        bool paused = false;
        std::optional<QString> toast;
        qsizetype opened = 0;
        qsizetype revealed = 0;
    };
    Snapshot snapshot() const;

    QList<ClippingItem> m_samples;
    Snapshot m_before;
};
