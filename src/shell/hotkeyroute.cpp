#include "hotkeyroute.h"

#include <QProcessEnvironment>

namespace
{

bool desktopIs(const QProcessEnvironment &environment, QStringList names)
{
    const QStringList current =
        environment.value(QStringLiteral("XDG_CURRENT_DESKTOP")).split(u':', Qt::SkipEmptyParts);
    for (const QString &desktop : current) {
        if (names.contains(desktop, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

} // namespace

HotKeyRoute chooseHotKeyRoute(const QProcessEnvironment &environment, bool waylandSession,
                              const HotKeyServices &services)
{
    // On X11 the grab sees every press; on Wayland it would see only those made while an
    // XWayland window is in front.
    if (!waylandSession)
        return HotKeyRoute::X11Grab;
    if (services.kglobalaccel && services.kglobalaccel())
        return HotKeyRoute::KGlobalAccel;
    if (services.portal && services.portal())
        return HotKeyRoute::Portal;
    if (desktopIs(environment, {QStringLiteral("GNOME")}))
        return HotKeyRoute::GnomeCommand;
    if (environment.contains(QStringLiteral("SWAYSOCK")) ||
        desktopIs(environment, {QStringLiteral("sway"), QStringLiteral("wlroots"),
                                QStringLiteral("river"), QStringLiteral("Hyprland")}))
        return HotKeyRoute::WlrootsCommand;
    return HotKeyRoute::DesktopCommand;
}

QString hotKeyInstruction(HotKeyRoute route)
{
    switch (route) {
    case HotKeyRoute::GnomeCommand:
        return QStringLiteral("Preferences, Shortcuts adds it to GNOME's keyboard shortcuts as "
                              "'%1'")
            .arg(hotKeyCommand);
    case HotKeyRoute::WlrootsCommand:
        return QStringLiteral("add '%1' to the compositor's configuration").arg(swayBinding);
    default:
        return QStringLiteral("bind it to '%1' in the desktop's keyboard settings")
            .arg(hotKeyCommand);
    }
}
