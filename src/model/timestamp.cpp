#include "timestamp.h"

#include <algorithm>
#include <chrono>
#include <cmath>

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
    // A time from a file may lie beyond what a date can hold: it reads as the nearest one.
    constexpr double limit = 9.0e18;
    const double msecs =
        std::clamp((m_seconds + unixSecondsAtReferenceDate) * 1000.0, -limit, limit);
    return QDateTime::fromMSecsSinceEpoch(std::isnan(msecs) ? 0 : static_cast<qint64>(msecs),
                                          Qt::UTC);
}

qint64 Timestamp::wholeSecondsSince(Timestamp earlier) const
{
    constexpr double limit = 9.0e18;
    const double seconds = secondsSince(earlier);
    return std::isnan(seconds) ? 0 : static_cast<qint64>(std::clamp(seconds, -limit, limit));
}
