#include "displayplatform.h"

#include <QProcessEnvironment>
#include <cstdio>

DisplayPlatform DisplayPlatform::choose(const QProcessEnvironment &environment)
{
    DisplayPlatform choice;
    choice.isWaylandSession = !environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty() ||
                              environment.value(QStringLiteral("XDG_SESSION_TYPE"))
                                      .compare(u"wayland", Qt::CaseInsensitive) == 0;
    // The hot key, the front application and the paste all need X11: on Wayland that is
    // XWayland, which Qt would not pick by itself once its Wayland plugin is installed.
    if (environment.value(QStringLiteral("QT_QPA_PLATFORM")).isEmpty() &&
        !environment.value(QStringLiteral("DISPLAY")).isEmpty())
        choice.qtPlatform = "xcb";
    return choice;
}

void DisplayPlatform::apply() const
{
    if (!qtPlatform.isEmpty())
        qputenv("QT_QPA_PLATFORM", qtPlatform);
    if (isWaylandSession)
        std::fprintf(stderr, "%s\n",
                     qPrintable(tr("Quillstash: on Wayland the source applications of clippings "
                                   "are known for XWayland programs only.")));
}
