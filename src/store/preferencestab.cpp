#include "preferencestab.h"

QString rawValue(PreferencesTab tab)
{
    switch (tab) {
    case PreferencesTab::General:
        return QStringLiteral("General");
    case PreferencesTab::Security:
        return QStringLiteral("Security & Storage");
    case PreferencesTab::Shortcuts:
        return QStringLiteral("Shortcuts");
    }
    Q_UNREACHABLE();
    return QString();
}

QString icon(PreferencesTab tab)
{
    switch (tab) {
    case PreferencesTab::General:
        return QStringLiteral("gearshape");
    case PreferencesTab::Security:
        return QStringLiteral("lock.shield");
    case PreferencesTab::Shortcuts:
        return QStringLiteral("keyboard");
    }
    Q_UNREACHABLE();
    return QString();
}
