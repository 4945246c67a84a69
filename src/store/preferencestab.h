#pragma once

#include <QObject>
#include <QString>
#include <array>

namespace PreferencesTabs
{
Q_NAMESPACE
enum class PreferencesTab { General, Security, Shortcuts };
Q_ENUM_NS(PreferencesTab)
} // namespace PreferencesTabs
using PreferencesTab = PreferencesTabs::PreferencesTab;

inline constexpr std::array allPreferencesTabs{PreferencesTab::General, PreferencesTab::Security,
                                               PreferencesTab::Shortcuts};

// The tab's title.
QString rawValue(PreferencesTab tab);
QString icon(PreferencesTab tab);
