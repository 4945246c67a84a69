#pragma once

#include <QByteArray>
#include <QCoreApplication>

class QProcessEnvironment;

// Decided before Qt starts: the Qt platform the program asks for, and whether it runs in a
// Wayland session, where its X11 services reach only the programs that run on XWayland.
class DisplayPlatform
{
    Q_DECLARE_TR_FUNCTIONS(DisplayPlatform)

public:
    // For QT_QPA_PLATFORM; empty leaves the choice to Qt.
    QByteArray qtPlatform;
    bool isWaylandSession = false;

    static DisplayPlatform choose(const QProcessEnvironment &environment);
    // Sets the platform up for the application object and says on standard error what a
    // Wayland session means for the program.
    void apply() const;
};
