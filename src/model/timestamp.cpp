#include "timestamp.h"

#include <chrono>

namespace
{
constexpr double unixSecondsAtReferenceDate = 978307200.0;
}

Timestamp Timestamp::now()
{
    using namespace std::chrono;
    const auto sinceEpoch = system_clock::now().time_since_epoch();
    return Timestamp(duration<double>(sinceEpoch).count() - unixSecondsAtReferenceDate);
}

Timestamp Timestamp::fromDateTime(const QDateTime &dateTime)
{
    return Timestamp(static_cast<double>(dateTime.toMSecsSinceEpoch()) / 1000.0 -
                     unixSecondsAtReferenceDate);
}

QDateTime Timestamp::toDateTime() const
{
    const auto msecs = static_cast<qint64>((m_seconds + unixSecondsAtReferenceDate) * 1000.0);
    return QDateTime::fromMSecsSinceEpoch(msecs, Qt::UTC);
}
