#include "displayplatform.h"

#include <QProcessEnvironment>
#include <cstdio>

DisplayPlatform DisplayPlatform::choose(const QProcessEnvironment &environment)
{
    DisplayPlatform choice;
    choice.isWaylandSession = !environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty() ||
                              environment.value(QStringLiteral("XDG_SESSION_TYPE"))
                                      .compare(u"wayland", Qt::CaseInsensitive) == 0;
    // The board's place and focus, the hot key and XTest need X11: on Wayland that is
    // XWayland, which Qt would not pick by itself once its Wayland plugin is installed.
    if (!environment.value(QStringLiteral("QT_QPA_PLATFORM")).isEmpty())
        return choice;
    if (!environment.value(QStringLiteral("DISPLAY")).isEmpty())
        choice.qtPlatform = "xcb";
    // Without XWayland the windows go to the compositor itself; xcb stays as the way out
    // should Qt's Wayland plugin be missing.
    else if (!environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty())
        choice.qtPlatform = "wayland;xcb";
    return choice;
}

void DisplayPlatform::apply() const
{
    if (!qtPlatform.isEmpty())
        qputenv("QT_QPA_PLATFORM", qtPlatform);
    if (qtPlatform.startsWith("wayland"))
        std::fprintf(stderr, "%s\n",
                     qPrintable(tr("Quillstash: XWayland is not running (DISPLAY is not set); "
                                   "the board is a Wayland window, placed by the compositor.")));
}
