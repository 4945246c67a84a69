#include "boardfixture.h"
#include "model/passwordcrypto.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <functional>

namespace
{

ClippingItem text(const QString &content, bool favorite = false)
{
    return BoardFixture::clip(
        {.type = ClippingType::Text, .textContent = content, .isFavorite = favorite});
}

class HistoryTest : public BoardFixture
{
};

// A folder so deep that the store file itself can be opened but the name it would be kept
// aside under is longer than a path may be: the move fails, whoever runs the test.
QString folderWhereTheDamagedFileCannotMove(const QString &root)
{
    constexpr int pathMax = 4096;
    const int fileNameLength = int(StoreFile::fileName().size()) + 1;
    QString folder = root;
    while (folder.size() + fileNameLength < pathMax - 20) {
        const int room = pathMax - 20 - fileNameLength - int(folder.size()) - 1;
        folder += u'/' + QString(std::min(room, 200), u'd');
    }
    EXPECT_TRUE(QDir().mkpath(folder));
    return folder;
}

TEST_F(HistoryTest, ADamagedFileThatCannotBeKeptAsideIsNeverWrittenOver)
{
    const QString folder = folderWhereTheDamagedFileCannotMove(m_directory.path());
    const QString path = folder + u'/' + StoreFile::fileName();
    const QByteArray damaged = "{\"items\": [ not json";
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(damaged);
    }

    testing::internal::CaptureStderr();
    ClipboardManagerState state(
        {m_settings, m_pasteboard, m_clock, m_frontApplication, m_workspace, m_httpClient, folder});
    const std::string error = testing::internal::GetCapturedStderr();

    EXPECT_FALSE(state.items().isEmpty()) << "the program runs on the showcase data";
    ASSERT_TRUE(state.statusToastMessage());
    EXPECT_TRUE(state.statusToastMessage()->contains(QStringLiteral("will not be saved")));
    size_t said = 0;
    for (size_t at = error.find("quillstash: "); at != std::string::npos;
         at = error.find("quillstash: ", at + 1))
        ++said;
    EXPECT_EQ(said, 1u) << error;

    state.toggleFavorite(state.items().first());
    state.insertNewItem(text(QStringLiteral("later")));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), damaged);
}

TEST_F(HistoryTest, AnOpenedSecretIsNotKeptInMemory)
{
    ClippingItem secret = text(QStringLiteral("opened once"));
    ASSERT_TRUE(secret.applyMaskState(true));
    ClipboardManagerState &state = makeStateWith({secret, text(QStringLiteral("plain"))});
    const ClippingItem &kept = state.items().first();
    EXPECT_EQ(kept.resolvedText(), QStringLiteral("opened once"));

    PasswordCrypto::setKeyProvider([] { return QByteArray(); });
    EXPECT_EQ(kept.resolvedText(), QString()) << "nothing opened earlier answers";
    PasswordCrypto::setKeyProvider(testClippingKey);
}

TEST(PasswordCryptoTest, ALeadingByteOrderMarkIsPartOfTheText)
{
    const QString withMark = QStringLiteral("\uFEFFsecret");
    const std::optional<QByteArray> sealed = PasswordCrypto::encrypt(withMark);
    ASSERT_TRUE(sealed);
    EXPECT_EQ(PasswordCrypto::decrypt(*sealed), withMark);
}

TEST(TimestampTest, AnUnsetTimeEqualsItselfAndExtremeTimesConvertSafely)
{
    const ClippingItem blank;
    EXPECT_EQ(blank, blank);
    for (const double seconds : {1e300, -1e300, 9.3e15, -9.3e15}) {
        const Timestamp extreme(seconds);
        EXPECT_TRUE(extreme.toDateTime().isValid()) << seconds;
        const ClippingItem old{.createdAt = extreme};
        EXPECT_FALSE(old.relativeTimeString(Timestamp(0.5)).isEmpty()) << seconds;
    }
}

// How often one operation tells the views that something changed.
struct OperationCase {
    const char *name;
    std::function<void(ClipboardManagerState &)> run;
};

class ChangedOnceTest : public BoardFixture, public testing::WithParamInterface<OperationCase>
{
};

TEST_P(ChangedOnceTest, EmitsChangedOnce)
{
    const ClippingCollection work = ClippingCollection::named(QStringLiteral("Work"));
    ClippingItem member = text(QStringLiteral("member"));
    member.collectionIDs = {work.id};
    ClipboardManagerState &state = makeStateWith(
        {text(QStringLiteral("one")), member, text(QStringLiteral("three"), true)}, {work});
    state.setSidebarSelection(SidebarSelection::collection(work.id));
    state.setSearchText(QString());
    QSignalSpy changed(&state, &ClipboardManagerState::changed);
    GetParam().run(state);
    EXPECT_EQ(changed.count(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Operations, ChangedOnceTest,
    testing::Values(
        OperationCase{"insertNewItem",
                      [](ClipboardManagerState &s) { s.insertNewItem(text(QStringLiteral("n"))); }},
        OperationCase{"deleteSelectedItem",
                      [](ClipboardManagerState &s) { s.deleteItem(s.filteredItems().first()); }},
        OperationCase{"toggleFavorite",
                      [](ClipboardManagerState &s) { s.toggleFavorite(s.items().first()); }},
        OperationCase{
            "deleteChosenCollection",
            [](ClipboardManagerState &s) { s.deleteCollection(s.collections().first()); }},
        OperationCase{"clearHistory", [](ClipboardManagerState &s) { s.clearHistory(); }},
        OperationCase{
            "clearContent",
            [](ClipboardManagerState &s) { s.clearContent(SidebarSelection::history()); }},
        OperationCase{"resetToShowcaseData",
                      [](ClipboardManagerState &s) { s.resetToShowcaseData(); }},
        OperationCase{"toggleTextMask",
                      [](ClipboardManagerState &s) { s.toggleTextMask(s.items().first()); }},
        OperationCase{
            "copyToSystemPasteboard",
            [](ClipboardManagerState &s) { s.copyToSystemPasteboard(s.items().first()); }},
        OperationCase{
            "createCollection",
            [](ClipboardManagerState &s) { s.createCollection(QStringLiteral(" New ")); }}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(HistoryTest, TheVisibleRevisionMovesOnlyWhenTheListMayHaveChanged)
{
    ClipboardManagerState &state =
        makeStateWith({text(QStringLiteral("alpha")), text(QStringLiteral("beta"))});
    const quint64 start = state.visibleRevision();
    EXPECT_EQ(state.visibleRevision(), start);
    state.setSearchText(QStringLiteral("alp"));
    const quint64 searched = state.visibleRevision();
    EXPECT_NE(searched, start);
    EXPECT_EQ(state.visibleItemCount(), 1);
    EXPECT_EQ(state.visibleItem(0).textContent, QStringLiteral("alpha"));
    state.setSearchText(QStringLiteral("alph"));
    EXPECT_EQ(state.visibleRevision(), searched) << "the same clippings at the same places";
    state.toggleFavorite(state.items().last());
    EXPECT_NE(state.visibleRevision(), searched) << "the clippings themselves changed";
}

TEST_F(HistoryTest, CountsFollowEveryChangeOfTheItems)
{
    const ClippingCollection work = ClippingCollection::named(QStringLiteral("Work"));
    ClippingItem member = text(QStringLiteral("member"));
    member.collectionIDs = {work.id, work.id};
    ClipboardManagerState &state = makeStateWith({member, text(QStringLiteral("b"), true)}, {work});
    EXPECT_EQ(state.countForCollection(work.id), 1) << "a collection named twice counts once";
    EXPECT_EQ(state.favoritesCount(), 1);
    EXPECT_EQ(state.countForApp(QStringLiteral("editor")), 2);
    state.toggleFavorite(state.items().first());
    EXPECT_EQ(state.favoritesCount(), 2);
    state.deleteItem(state.items().first());
    EXPECT_EQ(state.countForCollection(work.id), 0);
    EXPECT_EQ(state.countForType(ClippingType::Text), 1);
    EXPECT_EQ(state.totalHistoryCount(), 1);
}

} // namespace
