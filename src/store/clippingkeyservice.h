#pragma once

#include <QByteArray>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <mutex>

class Keyring;
class SettingsStore;

// The clipping key of one run, looked up in the background from the start, so that nothing
// waits for the keyring: until the key is there, sealing and opening fail at once and their
// callers try again when it arrives. A lookup that finds no key is tried again after a while,
// not on every use.
class ClippingKeyService final : public QObject
{
    Q_OBJECT

public:
    // `settings` must outlive the service.
    ClippingKeyService(SettingsStore &settings, std::unique_ptr<Keyring> keyring, QString entry,
                       QObject *parent = nullptr);
    ~ClippingKeyService() override;

    static constexpr int defaultRetryIntervalMs = 5 * 60 * 1000;
    void setRetryInterval(int milliseconds) { m_retry.setInterval(milliseconds); }

    // Starts the lookup, once; a failed one is tried again on a timer only.
    void start();
    bool hasKey() const;
    // For PasswordCrypto::setKeyProvider: the key once it is there, else an empty answer, at
    // once. Safe on any thread, and after the service is gone.
    std::function<QByteArray()> provider() const;

    // Each text the lookup has for the user, once per run.
    std::function<void(const QString &)> onNotice;
    // Once, when the key is there.
    std::function<void()> onKeyArrived;

private:
    struct Held {
        mutable std::mutex mutex;
        QByteArray key;
    };

    void lookUp();
    void answered(const std::optional<QByteArray> &key);

    SettingsStore &m_settings;
    std::unique_ptr<Keyring> m_keyring;
    QString m_entry;
    std::shared_ptr<Held> m_held = std::make_shared<Held>();
    QTimer m_retry;
    bool m_started = false;
    bool m_looking = false;
    QSet<QString> m_noticed;
};
