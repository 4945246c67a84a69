#include "appdelegate.h"
#include "artwork/appiconprovider.h"
#include "artwork/iconsetexport.h"
#include "commandline.h"
#include "displayplatform.h"
#include "platform/linux/desktopentryiconlookup.h"
#include "singleinstance.h"
#include "store/storefile.h"
#include "terminationsignals.h"
#include "update/programversion.h"

#include <QApplication>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <future>

int main(int argc, char *argv[])
{
    const CommandLine::Options options = CommandLine::parse(CommandLine::arguments(argc, argv));
    if (options.help) {
        std::printf("%s", qPrintable(CommandLine::helpText()));
        return 0;
    }
    if (options.version) {
        std::printf("Quillstash %s (%lld)\n", qPrintable(ProgramVersion::text()),
                    static_cast<long long>(ProgramVersion::build()));
        return 0;
    }
    // The icon export needs no display and starts nothing else.
    if (options.iconFolder) {
        const QStringList failures = IconsetExport::write(*options.iconFolder);
        if (failures.isEmpty())
            return 0;
        std::fprintf(stderr, "quillstash: could not write the icon set: %s\n",
                     qPrintable(failures.join(QStringLiteral("; "))));
        return 1;
    }

    // The user's store is read from the very start, beside everything else a launch does; the
    // screenshots are taken on data of their own. Qt takes the first thread that uses it for
    // its main thread, so this one makes itself known before the reading thread can.
    QThread::currentThread();
    std::future<StoreFile::Contents> storeReading;
    if (!options.screenshotFolder)
        storeReading = std::async(std::launch::async, StoreFile::readContents,
                                  StoreFile::filePath(StoreFile::defaultDirectory()));

    DisplayPlatform::choose(QProcessEnvironment::systemEnvironment()).apply();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillstash"));
    QApplication::setApplicationVersion(ProgramVersion::text());
    QApplication::setDesktopFileName(QStringLiteral("quillstash"));
    QApplication::setQuitOnLastWindowClosed(false);
    const TerminationSignals terminationSignals;

    // The screenshots are taken on data of their own, beside whatever the user runs.
    std::optional<QTemporaryDir> privateProfile;
    AppDelegate::Profile profile = AppDelegate::userProfile();
    SingleInstance instance;
    if (options.screenshotFolder) {
        privateProfile.emplace();
        if (!privateProfile->isValid()) {
            std::fprintf(stderr, "quillstash: could not make a temporary folder\n");
            return 1;
        }
        profile = {privateProfile->filePath(QStringLiteral("Quillstash.conf")),
                   privateProfile->filePath(QStringLiteral("data"))};
    } else {
        switch (instance.claim()) {
        case SingleInstance::Claim::First:
            break;
        case SingleInstance::Claim::OtherRunning:
            return 0;
        case SingleInstance::Claim::Failed:
            std::fprintf(stderr,
                         "quillstash: another Quillstash holds %s but does not answer; not "
                         "starting a second one on the same clippings\n",
                         qPrintable(SingleInstance::defaultFolder()));
            return 1;
        }
    }

    const DesktopEntryIconLookup installedApplications;
    AppIconProvider::shared().setInstalledApplications(&installedApplications);

    AppDelegate delegate(options, profile, std::move(storeReading));
    QObject::connect(&instance, &SingleInstance::showRequested, &delegate,
                     &AppDelegate::showMainWindow);
    delegate.applicationDidFinishLaunching();
    if (terminationSignals.received())
        return 0;
    return QApplication::exec();
}
