#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>

// Runs events until `done` holds or the time is up; the longest stretch without an event turn
// goes to `longestStall`.
template <typename Done>
bool runEventsUntil(Done done, std::chrono::milliseconds limit, qint64 *longestStall = nullptr)
{
    QElapsedTimer total;
    total.start();
    QElapsedTimer sinceTurn;
    sinceTurn.start();
    qint64 stall = 0;
    QTimer ticks;
    ticks.setInterval(5);
    QObject::connect(&ticks, &QTimer::timeout,
                     [&] { stall = std::max(stall, sinceTurn.restart()); });
    ticks.start();
    while (!done() && total.elapsed() < limit.count())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);
    if (longestStall)
        *longestStall = stall;
    return done();
}
