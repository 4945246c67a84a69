#include "readonlyfolder.h"
#include "statefixture.h"
#include "tmpfsmount.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <optional>
#include <sys/resource.h>
#include <unistd.h>

namespace
{

ClippingItem textItem(const QString &text)
{
    return ClippingItem::make({.type = ClippingType::Text,
                               .textContent = text,
                               .sourceAppName = QStringLiteral("Editor"),
                               .sourceAppBundleID = QStringLiteral("org.example")});
}

// Files of this process may not grow past the limit while it lives: a full disk, as far as the
// writer can tell. SIGXFSZ is ignored so that the write fails with EFBIG instead of killing us.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

// What makes every save fail until it is taken back, as a user's disk or folder can.
class WriteFault
{
public:
    virtual ~WriteFault() = default;
    // Before the state exists; a text says why the case cannot run here.
    virtual QString prepare(const QString &) { return {}; }
    virtual void begin(const QString &folder, qint64 storeSize) = 0;
    virtual void end() = 0;
    // The reason the toast must give, when it is known.
    virtual std::optional<QString> reason() const { return std::nullopt; }
};

QString errorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

class FileSizeFault final : public WriteFault
{
public:
    void begin(const QString &, qint64 storeSize) override { m_limit.emplace(storeSize / 2); }
    void end() override { m_limit.reset(); }
    std::optional<QString> reason() const override { return errorText(EFBIG); }

private:
    std::optional<FileSizeLimit> m_limit;
};

// A real file system that runs full: a small tmpfs under the store, filled up by another file.
class FullDiskFault final : public WriteFault
{
public:
    QString prepare(const QString &folder) override
    {
        m_mount.emplace(folder, 8 * 1024 * 1024);
        return m_mount->isMounted() ? QString() : QStringLiteral("mounting a tmpfs needs root");
    }
    void begin(const QString &folder, qint64) override
    {
        m_filler = QFile::encodeName(folder + QStringLiteral("/filler"));
        const int fd = ::open(m_filler.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        const QByteArray chunk(64 * 1024, 'x');
        while (fd >= 0 && ::write(fd, chunk.constData(), size_t(chunk.size())) > 0) {
        }
        ::close(fd);
    }
    void end() override { ::unlink(m_filler.constData()); }
    std::optional<QString> reason() const override { return errorText(ENOSPC); }

private:
    std::optional<TmpfsMount> m_mount;
    QByteArray m_filler;
};

class ReadOnlyFault final : public WriteFault
{
public:
    QString prepare(const QString &folder) override
    {
        return ReadOnlyFolder(folder).isReadOnly()
                   ? QString()
                   : QStringLiteral("the folder cannot be made read-only here");
    }
    void begin(const QString &folder, qint64) override { m_readOnly.emplace(folder); }
    void end() override { m_readOnly.reset(); }

private:
    std::optional<ReadOnlyFolder> m_readOnly;
};

struct FaultCase {
    const char *name;
    std::function<std::unique_ptr<WriteFault>()> make;
};

class SaveFailureTest : public StateFixture
{
protected:
    QByteArray fileBytes() const
    {
        QFile file(storePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QStringList toasts;
};

class WriteFaultTest : public SaveFailureTest, public testing::WithParamInterface<FaultCase>
{
protected:
    void TearDown() override
    {
        // The state goes first: nothing may be written once the fault's mount is gone.
        m_state.reset();
        m_fault.reset();
    }
    std::unique_ptr<WriteFault> m_fault = GetParam().make();
};

TEST_P(WriteFaultTest, TheOldFileStaysTheFailureIsToldOnceAndASaveAfterwardsSucceeds)
{
    if (const QString why = m_fault->prepare(m_directory.path()); !why.isEmpty())
        GTEST_SKIP() << qPrintable(why);
    ClipboardManagerState &state = makeState();
    QObject::connect(&state, &ClipboardManagerState::statusToastMessageChanged, [&] {
        if (state.statusToastMessage())
            toasts.append(*state.statusToastMessage());
    });
    const QByteArray before = fileBytes();
    ASSERT_FALSE(before.isEmpty());

    m_fault->begin(m_directory.path(), before.size());
    state.insertNewItem(textItem(QStringLiteral("lost 1")));
    state.insertNewItem(textItem(QStringLiteral("lost 2")));
    state.waitForSaved();
    EXPECT_EQ(fileBytes(), before);
    m_fault->end();

    const QString prefix = QStringLiteral("Could not save clippings: ");
    ASSERT_EQ(toasts.size(), 1);
    ASSERT_TRUE(toasts[0].startsWith(prefix)) << qPrintable(toasts[0]);
    const QString reason = toasts[0].mid(prefix.size());
    EXPECT_FALSE(reason.isEmpty());
    if (const std::optional<QString> expected = m_fault->reason()) {
        EXPECT_EQ(reason, *expected);
    }

    state.insertNewItem(textItem(QStringLiteral("kept")));
    const PersistedStore saved = ClippingJson::decodeStore(fileBytes()).value();
    ASSERT_EQ(saved.items.size(), state.items().size());
    EXPECT_EQ(saved.items.first().textContent, QStringLiteral("kept"));
    EXPECT_EQ(saved.items[1].textContent, QStringLiteral("lost 2"));
    EXPECT_EQ(toasts.size(), 1) << "a save that works is not reported";
}

INSTANTIATE_TEST_SUITE_P(
    Faults, WriteFaultTest,
    testing::Values(FaultCase{"FileSizeLimit", [] { return std::make_unique<FileSizeFault>(); }},
                    FaultCase{"FullTmpfs", [] { return std::make_unique<FullDiskFault>(); }},
                    FaultCase{"ReadOnlyFolder", [] { return std::make_unique<ReadOnlyFault>(); }}),
    [](const testing::TestParamInfo<FaultCase> &info) { return std::string(info.param.name); });

TEST_F(SaveFailureTest, AFolderRemovedWhileRunningComesBackWithEverything)
{
    ClipboardManagerState &state = makeState();
    state.waitForSaved();
    ASSERT_TRUE(QDir(m_directory.path()).removeRecursively());
    state.insertNewItem(textItem(QStringLiteral("after removal")));
    const PersistedStore saved = ClippingJson::decodeStore(fileBytes()).value();
    EXPECT_EQ(saved.items, state.items());
    EXPECT_FALSE(state.statusToastMessage());
}

// Saves encode only what the history says changed; whatever it changed, the file must be what
// encoding everything would write, and a record read in another form is written anew.
TEST_F(SaveFailureTest, EverySaveWritesWhatEncodingEverythingWould)
{
    const ClippingItem spaced = textItem(QStringLiteral("spaced"));
    {
        QDir().mkpath(m_directory.path());
        QFile file(m_directory.filePath(StoreFile::fileName()));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("{\"items\":[" + ClippingJson::encode(textItem(QStringLiteral("a"))) + "," +
                   ClippingJson::encode(spaced).replace("\":", "\" : ") + "," +
                   ClippingJson::encode(textItem(QStringLiteral("b"))) + "],\"collections\":[]}");
    }
    ClipboardManagerState &state = makeState();
    ASSERT_EQ(state.items().size(), 3);
    const auto encodedFile = [&] {
        QByteArrayList items;
        for (const ClippingItem &item : state.items())
            items.append(ClippingJson::encode(item));
        QByteArrayList collections;
        for (const ClippingCollection &collection : state.collections())
            collections.append(ClippingJson::encode(collection));
        return "{\"items\":[" + items.join(',') + "],\"collections\":[" + collections.join(',') +
               "]}";
    };
    const auto collection = [&] { return state.collections().first().id; };
    const struct {
        const char *step;
        std::function<void()> change;
    } steps[] = {
        {"capture", [&] { state.insertNewItem(textItem(QStringLiteral("new"))); }},
        {"favourite", [&] { state.toggleFavorite(state.items()[2]); }},
        {"collection made", [&] { state.createCollection(QStringLiteral("Work")); }},
        {"added", [&] { state.addItemToCollection(state.items()[3].id, collection()); }},
        {"added too", [&] { state.addItemToCollection(state.items()[1].id, collection()); }},
        {"taken out", [&] { state.removeItemFromCollection(state.items()[1].id, collection()); }},
        {"collection deleted", [&] { state.deleteCollection(state.collections().first()); }},
        {"masked", [&] { state.toggleTextMask(state.items()[1]); }},
        {"deleted", [&] { state.deleteItem(state.items()[0]); }},
    };
    for (const auto &step : steps) {
        step.change();
        state.waitForSaved();
        EXPECT_EQ(fileBytes(), encodedFile()) << step.step;
    }
}

} // namespace
