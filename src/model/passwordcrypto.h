#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

// Sealing of secret clipping text with AES-256-GCM under the user's one clipping key.
// Sealed form: nonce (12 bytes) | ciphertext | tag (16 bytes), no additional data.
namespace PasswordCrypto
{

inline constexpr qsizetype nonceLength = 12;
inline constexpr qsizetype tagLength = 16;
inline constexpr qsizetype keyLength = 32;

// Where the key comes from: asked on a sealing or opening while no key is held, until it hands
// one out. It must answer at once; an empty answer means there is none yet, and sealing and
// opening fail. Setting a provider drops the key of the one before; an empty one leaves none.
void setKeyProvider(std::function<QByteArray()> provider);
// Moves whenever a key is taken from the provider, so that what was worked out without it (the
// dots of a secret, its character count) can be worked out again.
quint64 keyGeneration();

std::optional<QByteArray> encrypt(const QString &text);
std::optional<QString> decrypt(const QByteArray &sealed);

// The same under an explicit key. `seal` and `open` work on raw bytes; `decrypt` also
// requires the opened bytes to be UTF-8.
std::optional<QByteArray> seal(const QByteArray &plain, const QByteArray &key);
std::optional<QByteArray> open(const QByteArray &sealed, const QByteArray &key);
std::optional<QString> decrypt(const QByteArray &sealed, const QByteArray &key);

QByteArray randomBytes(qsizetype count);

} // namespace PasswordCrypto
