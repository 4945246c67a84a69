#include "compositorsession.h"

#include <QCoreApplication>
#include <cstdio>
#include <gtest/gtest.h>

// Skipped (77) where no Wayland compositor or clipboard tool is installed at all; a suite whose
// own compositor is missing skips itself.
int main(int argc, char **argv)
{
    using Compositor = CompositorSession::Compositor;
    const QStringList sway = CompositorSession::missingPrograms(Compositor::Sway, false);
    const QStringList weston = CompositorSession::missingPrograms(Compositor::Weston, false);
    if (!sway.isEmpty() && !weston.isEmpty()) {
        std::printf("SKIPPED: %s not installed (./scripts/bootstrap installs them)\n",
                    qPrintable(sway.join(QStringLiteral(", "))));
        return 77;
    }
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
