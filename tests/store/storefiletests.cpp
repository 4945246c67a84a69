#include "readonlyfolder.h"
#include "scratchdirectory.h"
#include "store/backgroundhold.h"
#include "store/storefile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
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

// The file as encoding every clipping anew would write it.
QByteArray encodedFile(const QList<ClippingItem> &items)
{
    QByteArrayList records;
    for (const ClippingItem &clipping : items)
        records.append(ClippingJson::encode(clipping));
    return "{\"items\":[" + records.join(',') + "],\"collections\":[]}";
}

QString saveChanged(StoreFile &store, const QList<ClippingItem> &items, const QSet<QUuid> &changed)
{
    QString outcome = QStringLiteral("not reported");
    store.onWritten = [&](const QString &failure) { outcome = failure; };
    store.write(items, {}, &changed);
    store.flush();
    store.onWritten = nullptr;
    return outcome;
}

ClippingItem image(qsizetype bytes, char fill)
{
    ClippingItem clipping = item(QStringLiteral("image"));
    clipping.type = ClippingType::Image;
    clipping.imageData = QByteArray(bytes, fill);
    return clipping;
}

// Unchanged records are copied from the file written before, changed ones encoded; whatever
// mix a save takes, the file must be what encoding everything would write.
TEST(StoreFileTest, SavesOnlyWhatChangedAndWriteWhatAFullEncodingWould)
{
    ScratchDirectory directory;
    QList<ClippingItem> items{item(QStringLiteral("a")), image(200000, 'i'),
                              item(QStringLiteral("b")), item(QStringLiteral("c")),
                              item(QStringLiteral("d"))};
    {
        StoreFile first(directory.path());
        ASSERT_EQ(save(first, items), QString());
    }
    StoreFile store(directory.path());
    // As on a start that shows the board: the saves must not wait out the hold on the index.
    BackgroundHold::hold();
    QElapsedTimer sinceHold;
    sinceHold.start();
    ASSERT_EQ(store.read().store.items, items);

    const struct {
        const char *step;
        std::function<QSet<QUuid>(QList<ClippingItem> &)> change;
    } steps[] = {
        {"nothing", [](auto &) { return QSet<QUuid>(); }},
        {"new in front",
         [](auto &list) {
             list.prepend(item(QStringLiteral("new")));
             return QSet<QUuid>{list.first().id};
         }},
        {"one in the middle",
         [](auto &list) {
             list[3].isFavorite = true;
             return QSet<QUuid>{list[3].id};
         }},
        {"one removed",
         [](auto &list) {
             list.removeAt(4);
             return QSet<QUuid>();
         }},
        {"new image",
         [](auto &list) {
             list.prepend(image(300000, 'j'));
             return QSet<QUuid>{list.first().id};
         }},
        {"after the image was written", [](auto &) { return QSet<QUuid>(); }},
        {"the last removed",
         [](auto &list) {
             list.removeLast();
             return QSet<QUuid>();
         }},
    };
    for (const auto &step : steps) {
        const QSet<QUuid> changed = step.change(items);
        ASSERT_EQ(saveChanged(store, items, changed), QString()) << step.step;
        EXPECT_EQ(contents(store.path()), encodedFile(items)) << step.step;
    }
    EXPECT_LT(sinceHold.elapsed(), 1000);
    BackgroundHold::lift();

    // Changed behind the program's back, the file can no longer be copied from: that save
    // fails with the file left alone, and the next one encodes everything again.
    QFile behind(store.path());
    ASSERT_TRUE(behind.open(QIODevice::ReadWrite));
    behind.write("{\"items\":[ ");
    behind.close();
    EXPECT_NE(saveChanged(store, items, {}), QString());
    ASSERT_EQ(saveChanged(store, items, {}), QString());
    EXPECT_EQ(contents(store.path()), encodedFile(items));
}

// A file another version wrote is brought to the encoder's form at the next save, even where
// the clippings did not change.
TEST(StoreFileTest, RecordsOfAnotherFormAreWrittenAnew)
{
    ScratchDirectory directory;
    StoreFile store(directory.path());
    const ClippingItem canonical = item(QStringLiteral("as written"));
    QFile file(store.path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{\"items\": [\n" + ClippingJson::encode(canonical) + ",\n" +
               R"({"id":"6f1c7a0e-3b2d-4c55-9a1e-0d2f3b4c5d6e","type":"Text","textContent":"t",)"
               R"("isPassword":false,"richKind":"plainText","sourceAppName":"A",)"
               R"("sourceAppBundleID":"","createdAt":12,"isFavorite":false,"collectionIDs":[],)"
               R"("urlTitle":null,"somethingNew":1})" +
               ",\n" + ClippingJson::encode(item(QStringLiteral("spaced"))).replace(":", ": ") +
               "], \"collections\": []}");
    file.close();

    const StoreFile::ReadResult read = store.read();
    ASSERT_EQ(read.status, StoreFile::ReadStatus::Loaded);
    ASSERT_EQ(saveChanged(store, read.store.items, {}), QString());
    EXPECT_EQ(contents(store.path()), encodedFile(read.store.items));
}

// Reading a store that cannot fit would end every start; it counts as damaged and is kept.
TEST(StoreFileTest, AFileLargerThanTheMemoryAvailableCountsAsDamaged)
{
    ScratchDirectory directory;
    StoreFile store(directory.path());
    ASSERT_EQ(save(store, {item(QStringLiteral("x"))}), QString());
    const qint64 size = QFile(store.path()).size();
    EXPECT_EQ(StoreFile::readContentsWithin(store.path(), size - 1).read.status,
              StoreFile::ReadStatus::Damaged);
    EXPECT_EQ(StoreFile::readContentsWithin(store.path(), size).read.status,
              StoreFile::ReadStatus::Loaded);
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
    ScratchDirectory directory;
    StoreFile store(directory.path());
    const QList<ClippingItem> first{item(QStringLiteral("first"))};
    ASSERT_EQ(save(store, first, {}), QString());
    {
        const ReadOnlyFolder readOnly(directory.path());
        if (!readOnly.isReadOnly())
            GTEST_SKIP() << "the folder cannot be made read-only here";
        EXPECT_NE(save(store, {item(QStringLiteral("second"))}, {}), QString());
    }
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
    EXPECT_EQ(store.keepAside(QStringLiteral("damaged"), when),
              store.path() + QStringLiteral(".damaged-20260304T050607Z"));
    EXPECT_EQ(store.keepAside(QStringLiteral("damaged"), when), std::nullopt)
        << "nothing left to move: harmless";
    EXPECT_FALSE(QFile::exists(store.path()));
    EXPECT_EQ(contents(store.path() + QStringLiteral(".damaged-20260304T050607Z")),
              QByteArray("{\"items\":[tru"));
}

// The folder's entries other than the store itself.
QStringList othersIn(const QString &folder)
{
    QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                               QDir::NoDotAndDotDot);
    names.removeAll(StoreFile::fileName());
    return names;
}

TEST(StoreFileTest, AWriteKilledMidwayLeavesATemporaryFileThatTheNextStartRemoves)
{
    ScratchDirectory directory;
    StoreFile store(directory.path());
    ASSERT_EQ(save(store, {item(QStringLiteral("kept"))}), QString());
    const QByteArray before = contents(store.path());

    QList<StoreWriter::Piece> pieces;
    for (int i = 0; i < 200; ++i)
        pieces.append({{}, ClippingJson::encode(item(QStringLiteral("lost %1").arg(i)))});
    // A file size limit with SIGXFSZ left at its default kills the child inside the write,
    // before any cleanup of its own can run.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_DFL);
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        StoreWriter::writeFile(store.path(), {0, pieces, {}, {}});
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << "status " << status;
    ASSERT_EQ(othersIn(directory.path()).size(), 1);

    StoreFile restarted(directory.path());
    EXPECT_EQ(othersIn(directory.path()), QStringList());
    EXPECT_EQ(contents(store.path()), before);
}

TEST(StoreFileTest, OnlyTemporaryFilesOfTheWriterCountAsLeftovers)
{
    ScratchDirectory directory;
    const QString folder = directory.path();
    const QString store = StoreFile::fileName();
    const QStringList leftovers{store + QStringLiteral(".saving-Ab12Cd"),
                                store + QStringLiteral(".saving-000000")};
    const QStringList kept{store,
                           store + QStringLiteral(".damaged-20260304T050607Z"),
                           store + QStringLiteral(".backup"),
                           store + QStringLiteral(".Ab12Cd"),
                           store + QStringLiteral(".saving-Ab12C"),
                           store + QStringLiteral(".saving-Ab12Cde"),
                           store + QStringLiteral(".saving-Ab-2Cd"),
                           store + QStringLiteral(".saving-Ab12Cd.txt"),
                           QStringLiteral("notes.json.saving-Ab12Cd")};
    for (const QString &name : leftovers + kept) {
        QFile file(QDir(folder).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(name.toUtf8());
    }
    // Neither a folder nor a link of the pattern is ours to remove, nor what the link points to.
    const QString folderName = store + QStringLiteral(".saving-Folder");
    const QString linkName = store + QStringLiteral(".saving-Link01");
    ASSERT_TRUE(QDir(folder).mkdir(folderName));
    ASSERT_TRUE(QFile::link(QDir(folder).filePath(store + QStringLiteral(".backup")),
                            QDir(folder).filePath(linkName)));

    StoreFile file(folder);
    QStringList expected = kept;
    expected.removeAll(store);
    expected << folderName << linkName;
    QStringList left = othersIn(folder);
    left.sort();
    expected.sort();
    EXPECT_EQ(left, expected);
    EXPECT_EQ(contents(file.path()), store.toUtf8());
}

} // namespace
