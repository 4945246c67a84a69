#include "scratchdirectory.h"
#include "store/storefile.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

ClippingItem item(const QString &text)
{
    return ClippingItem::make({.type = ClippingType::Text,
                               .textContent = text,
                               .sourceAppName = QStringLiteral("App"),
                               .sourceAppBundleID = QStringLiteral("org.example.app")});
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool hasWhiteSpaceOutsideStrings(const QByteArray &json)
{
    bool inString = false;
    for (qsizetype i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (inString && c == '\\')
            ++i;
        else if (c == '"')
            inString = !inString;
        else if (!inString && (c == ' ' || c == '\n' || c == '\t' || c == '\r'))
            return true;
    }
    return false;
}

// Writes and waits for the writer thread; the failure, or an empty text.
QString save(StoreFile &store, const QList<ClippingItem> &items,
             const QList<ClippingCollection> &collections = {})
{
    QString outcome = QStringLiteral("not reported");
    store.onWritten = [&](const QString &failure) { outcome = failure; };
    store.write(items, collections);
    store.flush();
    store.onWritten = nullptr;
    return outcome;
}

mode_t mode(const QString &path)
{
    struct stat info {
    };
    ::stat(QFile::encodeName(path).constData(), &info);
    return info.st_mode & 0777;
}

TEST(StoreFileTest, WritesACompactObjectWithExactlyTwoKeysAndReadsItBack)
{
    ScratchDirectory directory;
    StoreFile store(directory.filePath(QStringLiteral("Quillstash")));
    const QList<ClippingItem> items{item(QStringLiteral("newest")), item(QStringLiteral("older"))};
    const QList<ClippingCollection> collections{ClippingCollection::named(QStringLiteral("C1")),
                                                ClippingCollection::named(QStringLiteral("C2"))};
    ASSERT_EQ(save(store, items, collections), QString());

    const QByteArray json = contents(store.path());
    EXPECT_TRUE(json.startsWith("{\"items\":[{"));
    EXPECT_TRUE(json.endsWith("]}"));
    EXPECT_FALSE(hasWhiteSpaceOutsideStrings(json));
    EXPECT_EQ(QJsonDocument::fromJson(json).object().keys(),
              (QStringList{QStringLiteral("collections"), QStringLiteral("items")}));

    const StoreFile::ReadResult read = store.read();
    ASSERT_EQ(read.status, StoreFile::ReadStatus::Loaded);
    EXPECT_EQ(read.store.items, items);
    EXPECT_EQ(read.store.collections, collections);
}

TEST(StoreFileTest, ChangedClippingsAreEncodedAgainAndUnchangedOnesStay)
{
    ScratchDirectory directory;
    StoreFile store(directory.path());
    QList<ClippingItem> items{item(QStringLiteral("a")), item(QStringLiteral("b")),
                              item(QStringLiteral("c"))};
    ASSERT_EQ(save(store, items, {}), QString());

    items[1].isFavorite = true;
    items[1].textContent = QStringLiteral("b changed");
    items.removeAt(2);
    items.prepend(item(QStringLiteral("new")));
    ASSERT_EQ(save(store, items, {}), QString());
    EXPECT_EQ(store.read().store.items, items);

    // A fresh writer over the same folder knows nothing cached and must agree byte for byte.
    StoreFile fresh(directory.path());
    const QByteArray cached = contents(store.path());
    ASSERT_EQ(save(fresh, items, {}), QString());
    EXPECT_EQ(contents(store.path()), cached);
}

TEST(StoreFileTest, FolderAndFileArePrivate)
{
    ScratchDirectory directory;
    const QString folder = directory.filePath(QStringLiteral("Quillstash"));
    QDir().mkpath(folder);
    ::chmod(QFile::encodeName(folder).constData(), 0755);
    StoreFile store(folder);
    EXPECT_EQ(mode(folder), 0700u);

    QFile wide(store.path());
    ASSERT_TRUE(wide.open(QIODevice::WriteOnly));
    wide.close();
    ::chmod(QFile::encodeName(store.path()).constData(), 0644);
    ASSERT_EQ(save(store, {item(QStringLiteral("x"))}, {}), QString());
    EXPECT_EQ(mode(store.path()), 0600u);
}

TEST(StoreFileTest, MissingFileIsNotDamaged)
{
    ScratchDirectory directory;
    EXPECT_EQ(StoreFile(directory.path()).read().status, StoreFile::ReadStatus::Missing);
}

TEST(StoreFileTest, WriteFailsQuietlyWhenTheFolderCannotExist)
{
    ScratchDirectory directory;
    QFile blocker(directory.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    StoreFile store(directory.filePath(QStringLiteral("file/Quillstash")));
    EXPECT_NE(save(store, {item(QStringLiteral("x"))}, {}), QString());
    EXPECT_EQ(store.read().status, StoreFile::ReadStatus::Missing);
}

TEST(StoreFileTest, WriteFailsQuietlyInAReadOnlyFolderAndKeepsTheOldFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    ScratchDirectory directory;
    StoreFile store(directory.path());
    const QList<ClippingItem> first{item(QStringLiteral("first"))};
    ASSERT_EQ(save(store, first, {}), QString());
    ::chmod(QFile::encodeName(directory.path()).constData(), 0500);
    EXPECT_NE(save(store, {item(QStringLiteral("second"))}, {}), QString());
    ::chmod(QFile::encodeName(directory.path()).constData(), 0700);
    EXPECT_EQ(store.read().store.items, first);
}

TEST(StoreFileTest, KeepsADamagedFileAsideUnderAUtcStamp)
{
    ScratchDirectory directory;
    StoreFile store(directory.path());
    QFile damaged(store.path());
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("{\"items\":[tru");
    damaged.close();
    ASSERT_EQ(store.read().status, StoreFile::ReadStatus::Damaged);

    const QDateTime when(QDate(2026, 3, 4), QTime(5, 6, 7), Qt::UTC);
    store.keepDamaged(when);
    store.keepDamaged(when); // nothing left to move: harmless
    EXPECT_FALSE(QFile::exists(store.path()));
    EXPECT_EQ(contents(store.path() + QStringLiteral(".damaged-20260304T050607Z")),
              QByteArray("{\"items\":[tru"));
}

} // namespace
