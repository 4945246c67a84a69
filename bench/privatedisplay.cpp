#include "privatedisplay.h"

#include "xvfbsession.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <cstdio>

int runOnPrivateDisplay(int argc, char **argv, const std::function<QString()> &setUp,
                        const std::function<void()> &tearDown)
{
    const QStringList missing = XvfbSession::missingPrograms();
    if (!missing.isEmpty()) {
        std::printf("SKIPPED: %s not installed\n", qPrintable(missing.join(u", ")));
        return 0;
    }
    XvfbSession server;
    QString error = server.start();
    QCoreApplication app(argc, argv);
    if (error.isEmpty())
        error = setUp();
    if (!error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    tearDown();
    return 0;
}
