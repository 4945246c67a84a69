#include "appdelegate.h"
#include "artwork/appiconprovider.h"
#include "artwork/iconsetexport.h"
#include "commandline.h"
#include "displayplatform.h"
#include "platform/linux/desktopentryiconlookup.h"
#include "singleinstance.h"
#include "store/freedmemory.h"
#include "store/storefile.h"
#include "terminationsignals.h"
#include "update/programversion.h"

#include <QApplication>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <future>

namespace
{

QString folderProblem(const SingleInstance &instance)
{
    return QStringLiteral("quillstash: cannot use %1 for the single-instance lock and socket "
                          "(it must be a folder this user owns and alone can open)")
        .arg(instance.folder());
}

// What the running program answered, printed; the exit code of the asking process.
int reportAnswer(const SingleInstance &instance, const SingleInstance::Answer &answer)
{
    switch (answer.outcome) {
    case SingleInstance::Outcome::Answered:
        if (!answer.reply.error.isEmpty()) {
            std::fprintf(stderr, "quillstash: %s\n", qPrintable(answer.reply.error));
            return 1;
        }
        std::fwrite(answer.reply.output.constData(), 1, std::size_t(answer.reply.output.size()),
                    stdout);
        return 0;
    case SingleInstance::Outcome::NoneRunning:
        std::fprintf(stderr, "quillstash: Quillstash is not running\n");
        return 2;
    case SingleInstance::Outcome::NoAnswer:
        std::fprintf(stderr, "quillstash: the running Quillstash does not answer\n");
        return 1;
    case SingleInstance::Outcome::FolderUnusable:
        std::fprintf(stderr, "%s\n", qPrintable(folderProblem(instance)));
        return 1;
    }
    return 1;
}

// The script commands: they talk to the running program and never start one.
int askRunningProgram(const SingleInstance &instance, const InstanceRequest &request)
{
    return reportAnswer(instance, instance.ask(request));
}

// Whether this process goes on to be the program; otherwise `exitCode` says how it ends.
bool claimOrHandOver(SingleInstance &instance, const InstanceRequest &request, int &exitCode)
{
    // A program that quits between our claim and our request leaves the lock free: claim again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        switch (instance.claim()) {
        case SingleInstance::Claim::First:
            return true;
        case SingleInstance::Claim::FolderUnusable:
            std::fprintf(stderr, "%s\n", qPrintable(folderProblem(instance)));
            exitCode = 1;
            return false;
        case SingleInstance::Claim::OtherRunning:
            break;
        }
        const SingleInstance::Answer answer = instance.ask(request);
        if (answer.outcome == SingleInstance::Outcome::NoneRunning)
            continue;
        if (answer.outcome == SingleInstance::Outcome::NoAnswer) {
            std::fprintf(stderr,
                         "quillstash: another Quillstash holds %s but does not answer; not "
                         "starting a second one on the same clippings\n",
                         qPrintable(instance.folder()));
            exitCode = 1;
            return false;
        }
        // Asked once only: a second --show-board would step the board on.
        exitCode = reportAnswer(instance, answer);
        return false;
    }
    exitCode = 1;
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    FreedMemory::mapLargeBlocksApart();
    const CommandLine::Options options = CommandLine::parse(CommandLine::arguments(argc, argv));
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "quillstash: %s; see 'quillstash --help'\n",
                     qPrintable(options.error));
        return 2;
    }
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

    // A later start hands its request over before it does anything else: it reads no store and
    // opens no display.
    SingleInstance instance;
    if (options.script)
        return askRunningProgram(instance, *options.request);
    if (!options.screenshotFolder) {
        int exitCode = 0;
        if (!claimOrHandOver(instance,
                             options.request.value_or(InstanceRequest{InstanceVerbs::show, {}}),
                             exitCode))
            return exitCode;
    }

    // The user's store is read from here on, beside everything else a launch does; the
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
    if (options.screenshotFolder) {
        privateProfile.emplace();
        if (!privateProfile->isValid()) {
            std::fprintf(stderr, "quillstash: could not make a temporary folder\n");
            return 1;
        }
        profile = {privateProfile->filePath(QStringLiteral("Quillstash.conf")),
                   privateProfile->filePath(QStringLiteral("data"))};
    }

    const DesktopEntryIconLookup installedApplications;
    AppIconProvider::shared().setInstalledApplications(&installedApplications);

    AppDelegate delegate(options, profile, std::move(storeReading));
    // Requests are answered from the event loop on, once the launch below has built everything.
    if (!options.screenshotFolder && !instance.listen([&delegate](const InstanceRequest &request) {
            return delegate.respond(request);
        })) {
        std::fprintf(stderr, "quillstash: could not listen in %s\n", qPrintable(instance.folder()));
        return 1;
    }
    delegate.applicationDidFinishLaunching();
    if (terminationSignals.received())
        return 0;
    return QApplication::exec();
}
