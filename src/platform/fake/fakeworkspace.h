#pragma once

#include "capture/workspace.h"

#include <QList>
#include <QStringList>

// Records what would have been opened or revealed.
class FakeWorkspace final : public Workspace
{
public:
    void openURL(const QUrl &url) override { m_opened.append(url); }
    void revealFile(const QString &path) override { m_revealed.append(path); }

    const QList<QUrl> &opened() const { return m_opened; }
    const QStringList &revealed() const { return m_revealed; }

private:
    QList<QUrl> m_opened;
    QStringList m_revealed;
};
