#pragma once

#include <QDateTime>
#include <compare>
#include <limits>

// A point in time as seconds since 2001-01-01 00:00:00 UTC, the form the store file keeps.
// A double keeps whatever fraction a file holds, so a load and save changes nothing.
class Timestamp
{
public:
    constexpr Timestamp() = default;
    constexpr explicit Timestamp(double secondsSinceReferenceDate)
        : m_seconds(secondsSinceReferenceDate)
    {
    }

    static Timestamp now();
    static Timestamp fromDateTime(const QDateTime &dateTime);

    // A default-constructed timestamp is unset; ClippingItem::make gives it the current time.
    constexpr bool isValid() const { return m_seconds == m_seconds; }
    constexpr double secondsSinceReferenceDate() const { return m_seconds; }
    QDateTime toDateTime() const;

    constexpr Timestamp addingSeconds(double seconds) const
    {
        return Timestamp(m_seconds + seconds);
    }
    constexpr double secondsSince(Timestamp earlier) const { return m_seconds - earlier.m_seconds; }

    constexpr bool operator==(const Timestamp &) const = default;
    constexpr auto operator<=>(const Timestamp &) const = default;

private:
    double m_seconds = std::numeric_limits<double>::quiet_NaN();
};
