#include "model/passwordcrypto.h"
#include "platform/fake/memorysettingsstore.h"
#include "scratchdirectory.h"
#include "store/clippingkey.h"

#include <gtest/gtest.h>

namespace
{

const QByteArray key = PasswordCrypto::randomBytes(PasswordCrypto::keyLength);

TEST(PasswordCryptoTest, SealedLengthIsTextPlusTwentyEight)
{
    EXPECT_EQ(PasswordCrypto::seal({}, key)->size(), 28);
    EXPECT_EQ(PasswordCrypto::seal("abc", key)->size(), 31);
    EXPECT_EQ(PasswordCrypto::encrypt(QStringLiteral("é"))->size(), 30); // two UTF-8 bytes
}

TEST(PasswordCryptoTest, EachSealingUsesAFreshNonceAndOpensToTheSameText)
{
    const QByteArray first = *PasswordCrypto::seal("secret", key);
    const QByteArray second = *PasswordCrypto::seal("secret", key);
    EXPECT_NE(first, second);
    EXPECT_NE(first.left(12), second.left(12));
    EXPECT_EQ(PasswordCrypto::decrypt(first, key), QStringLiteral("secret"));
    EXPECT_EQ(PasswordCrypto::decrypt(second, key), QStringLiteral("secret"));
    EXPECT_EQ(PasswordCrypto::decrypt(*PasswordCrypto::seal({}, key), key), QString());
}

TEST(PasswordCryptoTest, ShortInputDoesNotOpen)
{
    EXPECT_FALSE(PasswordCrypto::decrypt(QByteArray(27, 'x'), key));
    EXPECT_FALSE(PasswordCrypto::decrypt(QByteArray(), key));
}

TEST(PasswordCryptoTest, AnyFlippedByteStopsItOpening)
{
    const QByteArray sealed = *PasswordCrypto::seal("tamper with me", key);
    for (qsizetype i = 0; i < sealed.size(); ++i) {
        QByteArray tampered = sealed;
        tampered[i] = char(tampered[i] ^ 0x01);
        EXPECT_FALSE(PasswordCrypto::decrypt(tampered, key)) << "byte " << i;
    }
}

TEST(PasswordCryptoTest, AnotherKeyDoesNotOpen)
{
    const QByteArray sealed = *PasswordCrypto::seal("secret", key);
    EXPECT_FALSE(PasswordCrypto::decrypt(sealed, PasswordCrypto::randomBytes(32)));
}

TEST(PasswordCryptoTest, NonUtf8PlaintextCountsAsNotOpening)
{
    const QByteArray sealed = *PasswordCrypto::seal("\xff\xfe\xc3", key);
    EXPECT_TRUE(PasswordCrypto::open(sealed, key));
    EXPECT_FALSE(PasswordCrypto::decrypt(sealed, key));
}

TEST(PasswordCryptoTest, MalformedKeyNeverSeals)
{
    EXPECT_FALSE(PasswordCrypto::seal("x", QByteArray(16, 'k')));
}

TEST(PasswordCryptoTest, AProviderThatSealsMeanwhileDoesNotHang)
{
    // As a keyring answer that runs events would, and a copy sealed in them.
    bool nested = false;
    PasswordCrypto::setKeyProvider([&nested] {
        if (!nested) {
            nested = true;
            EXPECT_TRUE(PasswordCrypto::encrypt(QStringLiteral("meanwhile")));
        }
        return testClippingKey();
    });
    EXPECT_TRUE(PasswordCrypto::encrypt(QStringLiteral("first")));
    PasswordCrypto::setKeyProvider(testClippingKey);
}

struct StoredKeyCase {
    const char *name;
    QVariant stored;
    bool kept;
};

class ClippingKeyTest : public testing::TestWithParam<StoredKeyCase>
{
};

TEST_P(ClippingKeyTest, KeepsOnlyA32ByteEntry)
{
    MemorySettingsStore settings;
    if (GetParam().stored.isValid())
        settings.setValue(ClippingKey::settingsKey, GetParam().stored);
    const QByteArray loaded = ClippingKey::loadOrCreate(settings).value();
    EXPECT_EQ(loaded.size(), 32);
    EXPECT_EQ(settings.value(ClippingKey::settingsKey).toByteArray(), loaded);
    EXPECT_EQ(loaded == GetParam().stored.toByteArray(), GetParam().kept);
    EXPECT_EQ(ClippingKey::loadOrCreate(settings), loaded) << "a second load keeps the key";
}

TEST(ClippingKeyStorageTest, AKeyThatCouldNotBeStoredIsNotHandedOut)
{
    MemorySettingsStore settings;
    settings.setFailsWrites(true);
    EXPECT_EQ(ClippingKey::loadOrCreate(settings), std::nullopt);
    settings.setFailsWrites(false);
    const std::optional<QByteArray> stored = ClippingKey::loadOrCreate(settings);
    ASSERT_TRUE(stored);
    EXPECT_EQ(settings.value(ClippingKey::settingsKey).toByteArray(), *stored);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, ClippingKeyTest,
    testing::Values(
        StoredKeyCase{"missing", QVariant(), false},
        StoredKeyCase{"valid", QVariant(QByteArray(32, '\x07')), true},
        StoredKeyCase{"short", QVariant(QByteArray(16, '\x07')), false},
        StoredKeyCase{"long", QVariant(QByteArray(33, '\x07')), false},
        StoredKeyCase{"text", QVariant(QStringLiteral("0123456789abcdef0123456789abcdef")), false}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
