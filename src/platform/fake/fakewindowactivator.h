#pragma once

#include "capture/windowactivator.h"

#include <QList>
#include <QString>
#include <QStringList>

// Records which windows were activated, optionally into a log shared with other fakes.
class FakeWindowActivator final : public WindowActivator
{
public:
    explicit FakeWindowActivator(QStringList *log = nullptr) : m_log(log) {}

    void activate(quint64 windowID) override
    {
        m_activated.append(windowID);
        if (m_log)
            m_log->append(QStringLiteral("activate %1").arg(windowID));
    }

    const QList<quint64> &activated() const { return m_activated; }

private:
    QStringList *m_log;
    QList<quint64> m_activated;
};
