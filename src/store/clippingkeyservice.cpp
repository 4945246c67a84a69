#include "clippingkeyservice.h"

#include "clippingkey.h"
#include "keyring.h"

ClippingKeyService::ClippingKeyService(SettingsStore &settings, std::unique_ptr<Keyring> keyring,
                                       QString entry, QObject *parent)
    : QObject(parent), m_settings(settings), m_keyring(std::move(keyring)),
      m_entry(std::move(entry))
{
    m_retry.setSingleShot(true);
    m_retry.setInterval(defaultRetryIntervalMs);
    connect(&m_retry, &QTimer::timeout, this, &ClippingKeyService::lookUp);
}

// The keyring goes first: it answers nothing once gone.
ClippingKeyService::~ClippingKeyService()
{
    m_keyring.reset();
}

void ClippingKeyService::start()
{
    if (m_started)
        return;
    m_started = true;
    lookUp();
}

void ClippingKeyService::lookUp()
{
    if (m_looking || hasKey())
        return;
    m_looking = true;
    ClippingKey::loadOrCreate(
        m_settings, *m_keyring, m_entry,
        [this](const QString &text) {
            if (m_noticed.contains(text))
                return;
            m_noticed.insert(text);
            if (onNotice)
                onNotice(text);
        },
        [this](const std::optional<QByteArray> &key) { answered(key); });
}

void ClippingKeyService::answered(const std::optional<QByteArray> &key)
{
    m_looking = false;
    if (!key) {
        m_retry.start();
        return;
    }
    {
        const std::lock_guard lock(m_held->mutex);
        m_held->key = *key;
    }
    if (onKeyArrived)
        onKeyArrived();
}

bool ClippingKeyService::hasKey() const
{
    const std::lock_guard lock(m_held->mutex);
    return !m_held->key.isEmpty();
}

std::function<QByteArray()> ClippingKeyService::provider() const
{
    return [held = m_held] {
        const std::lock_guard lock(held->mutex);
        return held->key;
    };
}
