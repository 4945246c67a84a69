#pragma once

#include <QString>
#include <array>
#include <optional>

enum class AppearancePreference { System, Dark, Light };

// In the order of the appearance picker.
inline constexpr std::array allAppearancePreferences{
    AppearancePreference::System, AppearancePreference::Dark, AppearancePreference::Light};

QString rawValue(AppearancePreference appearance);
std::optional<AppearancePreference> appearancePreferenceFromRawValue(QStringView raw);
