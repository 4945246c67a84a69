#include "model/passwordcrypto.h"
#include "platform/linux/secretservicekeyring.h"
#include "scratchdirectory.h"
#include "store/clippingkey.h"
#include "store/inisettingsstore.h"

#include <QFile>
#include <gtest/gtest.h>

// Run inside a private D-Bus session with an unlocked keyring (tests/keyring/with-keyring).
namespace
{

class WithKeyringTest : public testing::Test
{
protected:
    std::optional<QByteArray> load()
    {
        return ClippingKey::loadOrCreate(m_settings, m_keyring,
                                         [this](const QString &text) { m_notices.append(text); });
    }
    QByteArray settingsFileBytes() const
    {
        QFile file(m_path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    ScratchDirectory m_directory;
    QString m_path = m_directory.filePath(QStringLiteral("Quillstash.conf"));
    IniSettingsStore m_settings{m_path};
    SecretServiceKeyring m_keyring;
    QStringList m_notices;
};

// Each test writes the same keyring entry, so they run in order in one session.
TEST_F(WithKeyringTest, AFreshStartKeepsTheKeyInTheKeyringOnlyAndAMovedKeyStillOpensOldSecrets)
{
    const std::optional<QByteArray> fresh = load();
    ASSERT_TRUE(fresh) << m_notices.join(u'\n').toStdString();
    EXPECT_EQ(m_keyring.read(ClippingKey::settingsKey).value, *fresh);
    EXPECT_FALSE(m_settings.value(ClippingKey::settingsKey).isValid());
    EXPECT_FALSE(settingsFileBytes().contains("SymmetricKeyData"));
    EXPECT_TRUE(m_notices.isEmpty());

    // An older install: the key in the settings file and a secret sealed with it. The keyring
    // entry is overwritten by a short one, which the file's key replaces.
    const QByteArray oldKey = PasswordCrypto::randomBytes(32);
    const QByteArray sealed = PasswordCrypto::seal("hunter2", oldKey).value();
    ASSERT_TRUE(m_keyring.write(ClippingKey::settingsKey, "short"));
    ScratchDirectory older;
    const QString olderPath = older.filePath(QStringLiteral("Quillstash.conf"));
    IniSettingsStore olderSettings(olderPath);
    olderSettings.setValue(ClippingKey::settingsKey, oldKey);
    const std::optional<QByteArray> moved =
        ClippingKey::loadOrCreate(olderSettings, m_keyring, [](const QString &) {});
    EXPECT_EQ(moved, oldKey);
    EXPECT_EQ(m_keyring.read(ClippingKey::settingsKey).value, oldKey);
    EXPECT_FALSE(olderSettings.value(ClippingKey::settingsKey).isValid());
    EXPECT_EQ(PasswordCrypto::decrypt(sealed, *moved), QStringLiteral("hunter2"));
}

TEST(WithoutKeyringTest, TheSettingsFileKeepsTheKeyAndSaysSo)
{
    ScratchDirectory directory;
    IniSettingsStore settings(directory.filePath(QStringLiteral("Quillstash.conf")));
    SecretServiceKeyring keyring;
    EXPECT_EQ(keyring.read(ClippingKey::settingsKey).status, Keyring::Status::Unavailable);
    QStringList notices;
    const std::optional<QByteArray> key = ClippingKey::loadOrCreate(
        settings, keyring, [&](const QString &text) { notices.append(text); });
    ASSERT_TRUE(key);
    EXPECT_EQ(settings.value(ClippingKey::settingsKey).toByteArray(), *key);
    EXPECT_EQ(notices.size(), 1);
}

} // namespace
