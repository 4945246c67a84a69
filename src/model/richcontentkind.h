#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <optional>

namespace RichContentKinds
{
Q_NAMESPACE
enum class RichContentKind { PlainText, CodeSnippet, CoralHeadline, CalendarEvent };
Q_ENUM_NS(RichContentKind)
} // namespace RichContentKinds
using RichContentKind = RichContentKinds::RichContentKind;

inline constexpr std::array allRichContentKinds{
    RichContentKind::PlainText, RichContentKind::CodeSnippet, RichContentKind::CoralHeadline,
    RichContentKind::CalendarEvent};

QString rawValue(RichContentKind kind);
std::optional<RichContentKind> richContentKindFromRawValue(QStringView raw);
size_t qHash(RichContentKind kind, size_t seed = 0);
