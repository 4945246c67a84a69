#pragma once

#include <QString>
#include <array>
#include <optional>

enum class RichContentKind { PlainText, CodeSnippet, CoralHeadline, CalendarEvent };

inline constexpr std::array allRichContentKinds{
    RichContentKind::PlainText, RichContentKind::CodeSnippet, RichContentKind::CoralHeadline,
    RichContentKind::CalendarEvent};

QString rawValue(RichContentKind kind);
std::optional<RichContentKind> richContentKindFromRawValue(QStringView raw);
size_t qHash(RichContentKind kind, size_t seed = 0);
