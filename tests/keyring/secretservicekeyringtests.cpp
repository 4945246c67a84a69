#include "eventturns.h"
#include "model/passwordcrypto.h"
#include "platform/linux/secretservicekeyring.h"
#include "scratchdirectory.h"
#include "store/clippingkey.h"
#include "store/inisettingsstore.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace
{

std::optional<QByteArray> load(SettingsStore &settings, Keyring &keyring, QStringList *notices)
{
    std::optional<std::optional<QByteArray>> result;
    ClippingKey::loadOrCreate(
        settings, keyring, ClippingKey::settingsKey,
        [notices](const QString &text) { notices->append(text); },
        [&](const std::optional<QByteArray> &key) { result = key; });
    EXPECT_TRUE(runEventsUntil([&] { return result.has_value(); }, 40s));
    return result.value_or(std::nullopt);
}

Keyring::Entry read(Keyring &keyring, const QString &key)
{
    std::optional<Keyring::Entry> entry;
    keyring.read(key, [&](const Keyring::Entry &found) { entry = found; });
    EXPECT_TRUE(runEventsUntil([&] { return entry.has_value(); }, 40s));
    return entry.value_or(Keyring::Entry{});
}

bool write(Keyring &keyring, const QString &key, const QByteArray &value)
{
    std::optional<bool> written;
    keyring.write(key, value, [&](bool confirmed) { written = confirmed; });
    EXPECT_TRUE(runEventsUntil([&] { return written.has_value(); }, 40s));
    return written.value_or(false);
}

// Run inside a private D-Bus session with an unlocked keyring (tests/keyring/with-keyring).
class WithKeyringTest : public testing::Test
{
protected:
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
    const std::optional<QByteArray> fresh = load(m_settings, m_keyring, &m_notices);
    ASSERT_TRUE(fresh) << m_notices.join(u'\n').toStdString();
    EXPECT_EQ(read(m_keyring, ClippingKey::settingsKey).value, *fresh);
    EXPECT_FALSE(m_settings.value(ClippingKey::settingsKey).isValid());
    EXPECT_FALSE(settingsFileBytes().contains("SymmetricKeyData"));
    EXPECT_TRUE(m_notices.isEmpty());

    // An older install: the key in the settings file and a secret sealed with it. The keyring
    // entry is overwritten by a short one, which the file's key replaces.
    const QByteArray oldKey = PasswordCrypto::randomBytes(32);
    const QByteArray sealed = PasswordCrypto::seal("hunter2", oldKey).value();
    ASSERT_TRUE(write(m_keyring, ClippingKey::settingsKey, "short"));
    ScratchDirectory older;
    IniSettingsStore olderSettings(older.filePath(QStringLiteral("Quillstash.conf")));
    olderSettings.setValue(ClippingKey::settingsKey, oldKey);
    const std::optional<QByteArray> moved = load(olderSettings, m_keyring, &m_notices);
    EXPECT_EQ(moved, oldKey);
    EXPECT_EQ(read(m_keyring, ClippingKey::settingsKey).value, oldKey);
    EXPECT_FALSE(olderSettings.value(ClippingKey::settingsKey).isValid());
    EXPECT_EQ(PasswordCrypto::decrypt(sealed, *moved), QStringLiteral("hunter2"));
}

TEST(WithoutKeyringTest, TheSettingsFileKeepsTheKeyAndSaysSo)
{
    ScratchDirectory directory;
    IniSettingsStore settings(directory.filePath(QStringLiteral("Quillstash.conf")));
    SecretServiceKeyring keyring;
    EXPECT_EQ(read(keyring, ClippingKey::settingsKey).status, Keyring::Status::Unavailable);
    QStringList notices;
    const std::optional<QByteArray> key = load(settings, keyring, &notices);
    ASSERT_TRUE(key);
    EXPECT_EQ(settings.value(ClippingKey::settingsKey).toByteArray(), *key);
    EXPECT_EQ(notices.size(), 1);
}

// A Secret Service on the private bus that answers every call, with an error, only after a
// while: a keyring that waits to be unlocked.
class SlowSecretService final : public QDBusVirtualObject
{
public:
    explicit SlowSecretService(std::chrono::milliseconds delay) : m_delay(delay) {}

    QString introspect(const QString &) const override { return {}; }
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        ++m_calls;
        QTimer::singleShot(m_delay, this, [message, connection] {
            QDBusConnection(connection)
                .send(message.createErrorReply(QDBusError::Failed, QStringLiteral("still locked")));
        });
        return true;
    }
    int calls() const { return m_calls; }

private:
    std::chrono::milliseconds m_delay;
    int m_calls = 0;
};

// Run inside a private D-Bus session without a keyring (dbus-run-session).
class SlowKeyringTest : public testing::Test
{
protected:
    void SetUp() override
    {
        QDBusConnection bus = QDBusConnection::sessionBus();
        ASSERT_TRUE(bus.isConnected());
        ASSERT_TRUE(
            bus.registerVirtualObject(QStringLiteral("/"), &m_service, QDBusConnection::SubPath));
        ASSERT_TRUE(bus.registerService(QStringLiteral("org.freedesktop.secrets")));
    }
    void TearDown() override
    {
        QDBusConnection bus = QDBusConnection::sessionBus();
        bus.unregisterService(QStringLiteral("org.freedesktop.secrets"));
        bus.unregisterObject(QStringLiteral("/"), QDBusConnection::UnregisterTree);
    }

    SlowSecretService m_service{1500ms};
};

TEST_F(SlowKeyringTest, AnUnansweredCallEndsAtTheTimeOutAndALateAnswerReachesNothing)
{
    std::optional<Keyring::Entry> entry;
    QElapsedTimer waited;
    waited.start();
    {
        SecretServiceKeyring keyring(300ms);
        keyring.read(ClippingKey::settingsKey, [&](const Keyring::Entry &found) { entry = found; });
        qint64 stall = 0;
        ASSERT_TRUE(runEventsUntil([&] { return entry.has_value(); }, 5s, &stall));
        EXPECT_EQ(entry->status, Keyring::Status::Unavailable);
        EXPECT_LT(waited.elapsed(), 1400) << "answered by the time-out, not by the keyring";
        EXPECT_LT(stall, 50) << "the thread that asked never waits";
        EXPECT_GT(m_service.calls(), 0) << "the stand-in was asked";

        // Gone with its jobs still running.
        keyring.read(ClippingKey::settingsKey, [](const Keyring::Entry &) { ADD_FAILURE(); });
        keyring.write(ClippingKey::settingsKey, "k", [](bool) { ADD_FAILURE(); });
    }
    // The stand-in's late answers end the jobs, which must find nothing freed.
    runEventsUntil([] { return false; }, 4s);
}

} // namespace
