#include "capture/pasteboard.h"
#include "eventturns.h"
#include "model/passwordcrypto.h"
#include "platform/fake/fakekeyring.h"
#include "readonlyfolder.h"
#include "statefixture.h"
#include "store/clippingkey.h"
#include "store/clippingkeyservice.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

namespace
{

ClippingItem textItem(const QString &text, const QString &app = QStringLiteral("Editor"))
{
    return ClippingItem::make({.type = ClippingType::Text,
                               .textContent = text,
                               .sourceAppName = app,
                               .sourceAppBundleID = QStringLiteral("org.example")});
}

class StoreLoadTest : public StateFixture
{
protected:
    void writeFile(const QByteArray &bytes)
    {
        QDir().mkpath(m_directory.path());
        QFile file(storePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    void writeItems(const QList<ClippingItem> &items)
    {
        QByteArray json = "{\"items\":[";
        for (qsizetype i = 0; i < items.size(); ++i)
            json += (i ? "," : "") + ClippingJson::encode(items[i]);
        writeFile(json + "],\"collections\":[]}");
    }
    QByteArray fileBytes() const
    {
        QFile file(storePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    PersistedStore fileStore() const { return ClippingJson::decodeStore(fileBytes()).value(); }
    QStringList damagedCopies() const
    {
        return QDir(m_directory.path())
            .entryList({StoreFile::fileName() + QStringLiteral(".damaged-*")},
                       QDir::Files | QDir::Dirs | QDir::Hidden);
    }
};

TEST_F(StoreLoadTest, FirstStartCreatesTheFolderAndSeedsTheFile)
{
    const QString folder = m_directory.filePath(QStringLiteral("nested/Quillstash"));
    ClipboardManagerState state(
        {m_settings, m_pasteboard, m_clock, m_frontApplication, m_workspace, m_httpClient, folder});
    state.waitForSaved();
    const QString path = folder + u'/' + StoreFile::fileName();
    ASSERT_TRUE(QFile::exists(path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const auto stored = ClippingJson::decodeStore(file.readAll());
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->items, state.items());
    EXPECT_EQ(stored->collections, state.collections());
}

TEST_F(StoreLoadTest, LoadsClippingsInOrderAndSelectsTheNewest)
{
    const QList<ClippingItem> items{textItem(QStringLiteral("new")),
                                    textItem(QStringLiteral("old"))};
    writeItems(items);
    const ClipboardManagerState &state = makeState();
    EXPECT_EQ(state.items(), items);
    EXPECT_EQ(state.selectedItemID(), items.first().id);
    EXPECT_TRUE(damagedCopies().isEmpty());
}

TEST_F(StoreLoadTest, ReadBeganEarlierTheHistoryArrivesWithFinishLoading)
{
    QList<ClippingItem> items;
    for (int i = 0; i < 2000; ++i)
        items.append(textItem(QStringLiteral("clipping %1").arg(i)));
    writeItems(items);
    ClipboardManagerState &state = makeReadingState();
    EXPECT_TRUE(state.items().isEmpty());

    state.finishLoading();
    EXPECT_EQ(state.items(), items);
    EXPECT_EQ(state.selectedItemID(), items.first().id);
    // At once, while the store may still be indexing what it read.
    state.toggleFavorite(items.last());
    items.last().isFavorite = true;
    EXPECT_EQ(fileStore().items, items);
}

TEST_F(StoreLoadTest, AnEmptyFolderReadEarlierIsSeeded)
{
    ClipboardManagerState &state = makeReadingState();
    state.finishLoading();
    EXPECT_FALSE(state.items().isEmpty());
    EXPECT_EQ(fileStore().items, state.items());
}

struct DamageCase {
    const char *name;
    QByteArray contents;
};

class DamagedStoreTest : public StoreLoadTest, public testing::WithParamInterface<DamageCase>
{
};

QByteArray validItem()
{
    return ClippingJson::encode(textItem(QStringLiteral("kept")));
}

TEST_P(DamagedStoreTest, IsKeptAsideAndReplacedBySeeding)
{
    writeFile(GetParam().contents);
    testing::internal::CaptureStderr();
    const ClipboardManagerState &state = makeState();
    const std::string said = testing::internal::GetCapturedStderr();
    const QStringList copies = damagedCopies();
    ASSERT_EQ(copies.size(), 1);
    EXPECT_NE(said.find(copies.first().toStdString()), std::string::npos) << said;
    ASSERT_TRUE(state.statusToastMessage());
    EXPECT_TRUE(state.statusToastMessage()->contains(copies.first()));
    QFile kept(m_directory.filePath(copies.first()));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), GetParam().contents) << "the damaged bytes survive untouched";
    EXPECT_EQ(fileStore().items, state.items()) << "seeding wrote a new store";
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedStoreTest,
    testing::Values(
        DamageCase{"notJson", "this is not json"},
        DamageCase{"truncated", "{\"items\":[" + validItem().left(40)}, DamageCase{"zeroBytes", ""},
        DamageCase{"missingFavorite", "{\"items\":[" +
                                          validItem().replace(",\"isFavorite\":false", "") +
                                          "],\"collections\":[]}"},
        DamageCase{"unknownType", "{\"items\":[" + validItem().replace("\"Text\"", "\"Sound\"") +
                                      "],\"collections\":[]}"},
        DamageCase{"malformedUuid", "{\"items\":[" +
                                        validItem().replace("\"id\":\"", "\"id\":\"X") +
                                        "],\"collections\":[]}"},
        DamageCase{"malformedBase64",
                   "{\"items\":[" +
                       validItem().replace("\"isPassword\"", "\"rtfData\":\"@@\",\"isPassword\"") +
                       "],\"collections\":[]}"},
        DamageCase{"numberForString", "{\"items\":[" + validItem().replace("\"kept\"", "7") +
                                          "],\"collections\":[]}"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(StoreLoadTest, ADirectoryInPlaceOfTheFileIsMovedAside)
{
    QDir().mkpath(storePath());
    makeState();
    ASSERT_EQ(damagedCopies().size(), 1);
    EXPECT_TRUE(QFileInfo(m_directory.filePath(damagedCopies().first())).isDir());
    EXPECT_TRUE(QFileInfo(storePath()).isFile());
}

TEST_F(StoreLoadTest, AValidFileWithoutClippingsIsSeededAndNotKept)
{
    writeFile(
        R"({"items":[],"collections":[{"id":"6F1C7A0E-3B2D-4C55-9A1E-0D2F3B4C5D6E","name":"Old"}]})");
    const ClipboardManagerState &state = makeState();
    EXPECT_TRUE(damagedCopies().isEmpty());
    for (const ClippingCollection &collection : state.collections())
        EXPECT_NE(collection.name, QStringLiteral("Old"));
}

TEST_F(StoreLoadTest, PlainPasswordFromAnOlderFileIsSealedAndRewritten)
{
    ClippingItem legacy = textItem(QStringLiteral("hunter2"));
    legacy.isPassword = true;
    legacy.isMasked.reset();
    ClippingItem maskedOnly = textItem(QString());
    maskedOnly.isMasked = true;
    // A password stated unmasked is a secret all the same.
    ClippingItem unmaskedPassword = textItem(QStringLiteral("swordfish"));
    unmaskedPassword.isPassword = true;
    writeItems({legacy, maskedOnly, unmaskedPassword});

    const ClipboardManagerState &state = makeState();
    EXPECT_FALSE(fileBytes().contains("hunter2"));
    EXPECT_FALSE(fileBytes().contains("swordfish"));
    const PersistedStore stored = fileStore();
    EXPECT_TRUE(stored.items[0].textContent.isEmpty());
    ASSERT_TRUE(stored.items[0].encryptedPasswordData);
    EXPECT_EQ(stored.items[0].resolvedText(), QStringLiteral("hunter2"));
    EXPECT_EQ(stored.items[0].isMasked, true);
    EXPECT_TRUE(stored.items[1].isPassword);
    EXPECT_EQ(stored.items[2].resolvedText(), QStringLiteral("swordfish"));
    EXPECT_TRUE(state.isTextMasked(state.items()[2]));
    EXPECT_EQ(state.items(), stored.items);
}

TEST_F(StoreLoadTest, ASlowKeyringHoldsNothingUpAndLosesNothing)
{
    ClippingItem legacy = textItem(QStringLiteral("hunter2"));
    legacy.isPassword = true;
    writeItems({legacy, textItem(QStringLiteral("plain"))});
    const QByteArray before = fileBytes();

    auto keyring = std::make_unique<FakeKeyring>();
    keyring->values().insert(ClippingKey::settingsKey, testClippingKey());
    keyring->setAnswerDelay(1000);
    ClippingKeyService service(m_settings, std::move(keyring), ClippingKey::settingsKey);
    PasswordCrypto::setKeyProvider(service.provider());
    service.onKeyArrived = [this] { state().clippingKeyArrived(); };
    service.start();
    ClipboardManagerState &state = makeState();
    EXPECT_EQ(fileBytes(), before) << "the record stays as the file had it";
    EXPECT_EQ(state.items().first().resolvedText(), QStringLiteral("hunter2"));

    // A secret copied meanwhile is kept, and stays out of the file until it can be sealed.
    m_frontApplication.setFront(QStringLiteral("Editor"), QStringLiteral("org.example.editor"));
    m_pasteboard.copyText(QStringLiteral("fresh secret"), {PasteboardMarker::concealed});
    state.checkPasteboard();
    ASSERT_EQ(state.items().size(), 3);
    EXPECT_TRUE(state.isTextMasked(state.items().first()));
    state.toggleFavorite(state.items().last());
    EXPECT_FALSE(fileBytes().contains("fresh secret"));
    EXPECT_EQ(fileStore().items.size(), 2);

    qint64 stall = 0;
    runEventsUntil([&] { return service.hasKey(); }, std::chrono::milliseconds(3000), &stall);
    EXPECT_LT(stall, 50) << "the wait for the key never holds the thread up";
    ASSERT_TRUE(service.hasKey());
    EXPECT_FALSE(fileBytes().contains("hunter2"));
    const PersistedStore stored = fileStore();
    ASSERT_EQ(stored.items.size(), 3);
    EXPECT_EQ(stored.items[0].resolvedText(), QStringLiteral("fresh secret"));
    EXPECT_EQ(stored.items[1].resolvedText(), QStringLiteral("hunter2"));
    EXPECT_TRUE(stored.items[0].textContent.isEmpty());
    PasswordCrypto::setKeyProvider(testClippingKey);
}

TEST(ClippingKeyServiceTest, AFailingKeyringIsAskedOnceUntilTheRetryAndAnswersNobodyOnceGone)
{
    MemorySettingsStore settings;
    settings.setValue(ClippingKey::inKeyringKey, true);
    auto owned = std::make_unique<FakeKeyring>();
    FakeKeyring &keyring = *owned;
    keyring.setAnswers(false);
    ClippingKeyService service(settings, std::move(owned), ClippingKey::settingsKey);
    service.setRetryInterval(200);
    QStringList notices;
    service.onNotice = [&](const QString &text) { notices.append(text); };
    const auto provider = service.provider();
    service.start();
    for (int use = 0; use < 100; ++use) {
        EXPECT_TRUE(provider().isEmpty());
        service.start();
    }
    EXPECT_EQ(keyring.reads(), 1);
    runEventsUntil([&] { return keyring.reads() > 1; }, std::chrono::milliseconds(2000));
    EXPECT_EQ(keyring.reads(), 2) << "tried again on the timer";
    EXPECT_EQ(notices.size(), 1) << "said once";
    EXPECT_FALSE(settings.value(ClippingKey::settingsKey).isValid()) << "no second key made";

    // Gone while an answer is due: nobody hears it, and the provider left behind has nothing.
    std::function<QByteArray()> leftBehind;
    {
        auto slow = std::make_unique<FakeKeyring>();
        slow->setAnswerDelay(100);
        ClippingKeyService gone(settings, std::move(slow), ClippingKey::settingsKey);
        gone.onKeyArrived = [] { ADD_FAILURE() << "answered after it went"; };
        leftBehind = gone.provider();
        gone.start();
    }
    runEventsUntil([] { return false; }, std::chrono::milliseconds(300));
    EXPECT_TRUE(leftBehind().isEmpty());
}

TEST_F(StoreLoadTest, ChromeIsRenamedInMemoryWithoutASave)
{
    writeItems({textItem(QStringLiteral("page"), QStringLiteral("Google Chrome"))});
    const QByteArray before = fileBytes();
    const ClipboardManagerState &state = makeState();
    EXPECT_EQ(state.items().first().sourceAppName, QStringLiteral("Chrome"));
    EXPECT_EQ(fileBytes(), before);
}

TEST_F(StoreLoadTest, UndecryptableSecretStillLoads)
{
    ClippingItem secret = textItem(QString());
    secret.isPassword = true;
    secret.isMasked = true;
    secret.encryptedPasswordData = *PasswordCrypto::seal("x", PasswordCrypto::randomBytes(32));
    writeItems({secret});
    const ClipboardManagerState &state = makeState();
    ASSERT_EQ(state.items().size(), 1);
    EXPECT_EQ(state.items().first().resolvedText(), QString());
}

TEST_F(StoreLoadTest, SaveSealsAnySecretStillInPlain)
{
    writeItems({textItem(QStringLiteral("visible"))});
    ClipboardManagerState &state = makeState();
    state.toggleTextMask(state.items().first());
    EXPECT_FALSE(fileBytes().contains("visible"));
    EXPECT_TRUE(state.items().first().isSecret());
    EXPECT_EQ(fileStore().items.first().resolvedText(), QStringLiteral("visible"));

    state.toggleTextMask(state.items().first());
    EXPECT_TRUE(fileBytes().contains("visible")) << "an unmasked clipping is stored in plain";
}

TEST_F(StoreLoadTest, ToggleOfAnUnknownClippingChangesNothing)
{
    writeItems({textItem(QStringLiteral("one"))});
    ClipboardManagerState &state = makeState();
    QFile::remove(storePath());
    state.toggleTextMask(textItem(QStringLiteral("gone")));
    EXPECT_FALSE(QFile::exists(storePath())) << "no save";
    EXPECT_FALSE(state.items().first().isSecret());
}

TEST_F(StoreLoadTest, OptionKeyRevealsSecrets)
{
    ClippingItem secret = textItem(QStringLiteral("s"));
    secret.applyMaskState(true);
    const ClippingItem plain = textItem(QStringLiteral("p"));
    writeItems({secret, plain});
    ClipboardManagerState &state = makeState();
    EXPECT_TRUE(state.isTextMasked(state.items()[0]));
    EXPECT_FALSE(state.isTextMasked(state.items()[1]));
    state.setIsHoldingOptionKey(true);
    EXPECT_FALSE(state.isTextMasked(state.items()[0]));
    EXPECT_FALSE(state.isTextMasked(state.items()[1]));
}

TEST_F(StoreLoadTest, UnwritableFolderKeepsTheMemoryStateIntact)
{
    writeItems({textItem(QStringLiteral("one"))});
    ClipboardManagerState &state = makeState();
    {
        const ReadOnlyFolder readOnly(m_directory.path());
        if (!readOnly.isReadOnly())
            GTEST_SKIP() << "the folder cannot be made read-only here";
        state.toggleTextMask(state.items().first());
        state.waitForSaved();
    }
    EXPECT_TRUE(state.items().first().isSecret());
    EXPECT_TRUE(fileBytes().contains("one"));
}

} // namespace
