#pragma once

#include "capture/windowactivator.h"
#include "fakefrontapplication.h"

#include <QList>
#include <QString>
#include <QStringList>

// Records which windows were activated, optionally into a log shared with other fakes, and
// brings the window to the front of a fake front application when given one.
class FakeWindowActivator final : public WindowActivator
{
public:
    explicit FakeWindowActivator(QStringList *log = nullptr, FakeFrontApplication *front = nullptr)
        : m_log(log), m_front(front)
    {
    }

    void activate(quint64 windowID) override
    {
        m_activated.append(windowID);
        if (m_log)
            m_log->append(QStringLiteral("activate %1").arg(windowID));
        if (m_front)
            m_front->setFront(RunningApplication{.windowId = windowID});
    }

    const QList<quint64> &activated() const { return m_activated; }

private:
    QStringList *m_log;
    FakeFrontApplication *m_front;
    QList<quint64> m_activated;
};
