#pragma once

#include <QDateTime>
#include <compare>

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

    // The reference date itself stands for "not given": ClippingItem::make gives such a
    // timestamp the current time.
    constexpr bool isSet() const { return m_seconds != 0.0; }
    constexpr double secondsSinceReferenceDate() const { return m_seconds; }
    QDateTime toDateTime() const;

    constexpr Timestamp addingSeconds(double seconds) const
    {
        return Timestamp(m_seconds + seconds);
    }
    constexpr double secondsSince(Timestamp earlier) const { return m_seconds - earlier.m_seconds; }
    // The same in whole seconds, saturated to the range of the result.
    qint64 wholeSecondsSince(Timestamp earlier) const;

    constexpr bool operator==(const Timestamp &) const = default;
    constexpr auto operator<=>(const Timestamp &) const = default;

private:
    double m_seconds = 0.0;
};
