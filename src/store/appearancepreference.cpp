#include "appearancepreference.h"

QString rawValue(AppearancePreference appearance)
{
    switch (appearance) {
    case AppearancePreference::System:
        return QStringLiteral("System");
    case AppearancePreference::Dark:
        return QStringLiteral("Dark");
    case AppearancePreference::Light:
        return QStringLiteral("Light");
    }
    Q_UNREACHABLE();
    return QString();
}

std::optional<AppearancePreference> appearancePreferenceFromRawValue(QStringView raw)
{
    for (const AppearancePreference appearance : allAppearancePreferences) {
        if (raw == rawValue(appearance))
            return appearance;
    }
    return std::nullopt;
}
