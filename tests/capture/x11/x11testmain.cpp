#include "privatehome.h"
#include "xvfbsession.h"

#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

// Runs the X11 tests on a private X server; exits with 77 (skipped) when the programs they
// need are missing.
int main(int argc, char **argv)
{
    const QStringList missing = XvfbSession::missingPrograms();
    if (!missing.isEmpty()) {
        std::printf("SKIPPED: %s not installed (./scripts/bootstrap installs them)\n",
                    qPrintable(missing.join(QStringLiteral(", "))));
        return 77;
    }

    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/quillstash-x11-XXXXXX"));
    if (!home.isValid())
        return 2;
    usePrivateXdgFolders(home);

    XvfbSession session;
    if (const QString error = session.start(); !error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    int result = 0;
    {
        QGuiApplication app(argc, argv);
        testing::InitGoogleMock(&argc, argv);
        result = RUN_ALL_TESTS();
    }
    return result;
}
