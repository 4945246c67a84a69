#include "statefixture.h"

#include <QDir>
#include <QFile>
#include <csignal>
#include <sys/resource.h>

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

TEST_F(SaveFailureTest, AFullDiskKeepsTheOldFileSaysSoOnceAndTheNextSaveAfterwardsSucceeds)
{
    ClipboardManagerState &state = makeState();
    QObject::connect(&state, &ClipboardManagerState::statusToastMessageChanged, [&] {
        if (state.statusToastMessage())
            toasts.append(*state.statusToastMessage());
    });
    const QByteArray before = fileBytes();
    ASSERT_FALSE(before.isEmpty());
    {
        const FileSizeLimit full(before.size() / 2);
        state.insertNewItem(textItem(QStringLiteral("lost 1")));
        state.insertNewItem(textItem(QStringLiteral("lost 2")));
        state.waitForSaved();
        EXPECT_EQ(fileBytes(), before);
    }
    ASSERT_EQ(toasts.size(), 1);
    EXPECT_TRUE(toasts[0].startsWith(QStringLiteral("Could not save clippings: ")));
    EXPECT_GT(toasts[0].size(), QStringLiteral("Could not save clippings: ").size());

    state.insertNewItem(textItem(QStringLiteral("kept")));
    const PersistedStore saved = ClippingJson::decodeStore(fileBytes()).value();
    ASSERT_EQ(saved.items.size(), state.items().size());
    EXPECT_EQ(saved.items.first().textContent, QStringLiteral("kept"));
    EXPECT_EQ(saved.items[1].textContent, QStringLiteral("lost 2"));
    EXPECT_EQ(toasts.size(), 1) << "a save that works is not reported";
}

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

TEST_F(SaveFailureTest, LoadedClippingsAreWrittenBackAsTheyStoodInTheFile)
{
    // Spacing no encoder of ours produces: only the file's own text has it.
    const QByteArray stored = ClippingJson::encode(textItem(QStringLiteral("as it was")))
                                  .replace("\":", "\" : ")
                                  .replace(",\"", " , \"");
    {
        QDir().mkpath(m_directory.path());
        QFile file(m_directory.filePath(StoreFile::fileName()));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("{\"items\":[" + stored + "],\"collections\":[]}");
    }
    ClipboardManagerState &state = makeState();
    ASSERT_EQ(state.items().size(), 1);
    state.insertNewItem(textItem(QStringLiteral("new")));
    EXPECT_TRUE(fileBytes().contains(stored));

    state.toggleFavorite(state.items()[1]);
    const QByteArray changed = fileBytes();
    EXPECT_FALSE(changed.contains(stored)) << "a changed clipping is encoded again";
    EXPECT_TRUE(ClippingJson::decodeStore(changed).value().items[1].isFavorite);
}

} // namespace
