#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <optional>

namespace AppearancePreferences
{
Q_NAMESPACE
enum class AppearancePreference { System, Dark, Light };
Q_ENUM_NS(AppearancePreference)
} // namespace AppearancePreferences
using AppearancePreference = AppearancePreferences::AppearancePreference;

// In the order of the appearance picker.
inline constexpr std::array allAppearancePreferences{
    AppearancePreference::System, AppearancePreference::Dark, AppearancePreference::Light};

QString rawValue(AppearancePreference appearance);
std::optional<AppearancePreference> appearancePreferenceFromRawValue(QStringView raw);
