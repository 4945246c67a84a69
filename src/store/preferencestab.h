#pragma once

#include <QString>
#include <array>

enum class PreferencesTab { General, Security, Shortcuts };

inline constexpr std::array allPreferencesTabs{PreferencesTab::General, PreferencesTab::Security,
                                               PreferencesTab::Shortcuts};

// The tab's title.
QString rawValue(PreferencesTab tab);
QString icon(PreferencesTab tab);
