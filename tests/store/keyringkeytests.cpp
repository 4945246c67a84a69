#include "platform/fake/fakekeyring.h"
#include "platform/fake/memorysettingsstore.h"
#include "store/clippingkey.h"

#include <gtest/gtest.h>

namespace
{

const QByteArray fileKey(32, 'f');
const QByteArray ringKey(32, 'r');

// The fake answers at once, so the answer is there when the call returns.
std::optional<QByteArray> load(SettingsStore &settings, Keyring &keyring,
                               QStringList *notices = nullptr)
{
    std::optional<QByteArray> result;
    bool answered = false;
    ClippingKey::loadOrCreate(
        settings, keyring, ClippingKey::settingsKey,
        [notices](const QString &text) {
            if (notices)
                notices->append(text);
        },
        [&](const std::optional<QByteArray> &key) {
            EXPECT_FALSE(answered) << "answered twice";
            answered = true;
            result = key;
        });
    EXPECT_TRUE(answered);
    return result;
}

enum class Ring { Empty, HoldsKey, HoldsShortKey, Refuses, Silent };
enum class From { File, Ring, New, Nothing };

struct KeyringCase {
    const char *name;
    Ring ring;
    bool keyInFile;
    bool markedInKeyring;
    From expected;
    // Where the key is afterwards.
    bool fileHoldsKey;
    bool ringHoldsKey;
    bool noticed;
};

class KeyringKeyTest : public testing::TestWithParam<KeyringCase>
{
};

TEST_P(KeyringKeyTest, KeepsOneKeyAndMovesItOnlyOnConfirmation)
{
    const KeyringCase &c = GetParam();
    MemorySettingsStore settings;
    FakeKeyring keyring;
    if (c.keyInFile)
        settings.setValue(ClippingKey::settingsKey, fileKey);
    if (c.markedInKeyring)
        settings.setValue(ClippingKey::inKeyringKey, true);
    if (c.ring == Ring::HoldsKey)
        keyring.values().insert(ClippingKey::settingsKey, ringKey);
    if (c.ring == Ring::HoldsShortKey)
        keyring.values().insert(ClippingKey::settingsKey, QByteArray(16, 's'));
    keyring.setRefusesWrites(c.ring == Ring::Refuses);
    keyring.setAnswers(c.ring != Ring::Silent);

    QStringList notices;
    const std::optional<QByteArray> key = load(settings, keyring, &notices);

    switch (c.expected) {
    case From::File:
        EXPECT_EQ(key, fileKey);
        break;
    case From::Ring:
        EXPECT_EQ(key, ringKey);
        break;
    case From::New:
        ASSERT_TRUE(key);
        EXPECT_EQ(key->size(), 32);
        EXPECT_NE(key, fileKey);
        EXPECT_NE(key, ringKey);
        break;
    case From::Nothing:
        EXPECT_EQ(key, std::nullopt);
        return;
    }
    EXPECT_EQ(settings.value(ClippingKey::settingsKey).toByteArray() == *key, c.fileHoldsKey);
    EXPECT_EQ(keyring.values().value(ClippingKey::settingsKey) == *key, c.ringHoldsKey);
    EXPECT_EQ(notices.size(), c.noticed ? 1 : 0) << notices.join(u'\n').toStdString();
    // The next start finds the same key wherever it went.
    keyring.setRefusesWrites(false);
    EXPECT_EQ(load(settings, keyring), key);
}

INSTANTIATE_TEST_SUITE_P(
    Starts, KeyringKeyTest,
    testing::Values(KeyringCase{"freshStartGoesToTheKeyring", Ring::Empty, false, false, From::New,
                                false, true, false},
                    KeyringCase{"fileKeyMovesToTheKeyring", Ring::Empty, true, false, From::File,
                                false, true, false},
                    KeyringCase{"keyringKeyIsUsed", Ring::HoldsKey, false, true, From::Ring, false,
                                true, false},
                    KeyringCase{"keyringWinsOverAnotherFileKeyWhichStays", Ring::HoldsKey, true,
                                true, From::Ring, false, true, true},
                    KeyringCase{"shortKeyringEntryIsReplacedByTheFileKey", Ring::HoldsShortKey,
                                true, false, From::File, false, true, false},
                    KeyringCase{"refusedWriteLeavesTheKeyInTheFile", Ring::Refuses, true, false,
                                From::File, true, false, true},
                    KeyringCase{"refusedWriteOfANewKeyStoresItInTheFile", Ring::Refuses, false,
                                false, From::New, true, false, true},
                    KeyringCase{"noKeyringUsesTheFile", Ring::Silent, true, false, From::File, true,
                                false, true},
                    KeyringCase{"noKeyringOnAFreshStartMakesAFileKey", Ring::Silent, false, false,
                                From::New, true, false, true},
                    KeyringCase{"silentKeyringThatHoldsTheKeyMakesNoSecondOne", Ring::Silent, false,
                                true, From::Nothing, false, false, true},
                    KeyringCase{"keyringThatLostTheKeyMakesNoSecondOne", Ring::Empty, false, true,
                                From::Nothing, false, false, true}),
    [](const testing::TestParamInfo<KeyringCase> &info) { return info.param.name; });

TEST(KeyringEntryTest, OnlyTheUsersOwnProfileUsesTheUsersEntry)
{
    const QString user = QStringLiteral("/home/u/.config/Quillstash/Quillstash.conf");
    const QString other = QStringLiteral("/tmp/test-home/Quillstash.conf");
    EXPECT_EQ(ClippingKey::keyringEntry(user, user), ClippingKey::settingsKey);
    EXPECT_NE(ClippingKey::keyringEntry(other, user), ClippingKey::settingsKey);
    EXPECT_NE(ClippingKey::keyringEntry(other, user),
              ClippingKey::keyringEntry(QStringLiteral("/tmp/another/Quillstash.conf"), user));
}

TEST(KeyringKeyMoveTest, TheFileKeyIsRemovedOnlyAfterTheMarkIsWritten)
{
    MemorySettingsStore settings;
    FakeKeyring keyring;
    settings.setValue(ClippingKey::settingsKey, fileKey);
    settings.setFailsWrites(true);
    EXPECT_EQ(load(settings, keyring), fileKey);
    settings.setFailsWrites(false);
    EXPECT_EQ(settings.value(ClippingKey::settingsKey).toByteArray(), fileKey)
        << "without the mark, a later run without keyring must still find the key";
    keyring.setAnswers(false);
    EXPECT_EQ(load(settings, keyring), fileKey);
}

} // namespace
