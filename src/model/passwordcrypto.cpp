#include "passwordcrypto.h"

#include <QStringDecoder>
#include <memory>
#include <mutex>
#include <openssl/evp.h>
#include <openssl/rand.h>

namespace
{

// The provider, and the key once one was obtained from it. Until then every use asks the
// provider again, so a key that could not be stored is never used and a later success counts.
struct KeySource {
    std::mutex mutex;
    std::shared_ptr<const std::function<QByteArray()>> provider;
    QByteArray key;
    quint64 generation = 0;
};

KeySource &keySource()
{
    static KeySource source;
    return source;
}

QByteArray processKey()
{
    KeySource &source = keySource();
    std::shared_ptr<const std::function<QByteArray()>> provider;
    {
        const std::lock_guard lock(source.mutex);
        if (source.key.size() == PasswordCrypto::keyLength || !source.provider)
            return source.key;
        provider = source.provider;
    }
    // Asked without the lock: a provider that calls back into sealing must not deadlock.
    const QByteArray provided = (*provider)();
    const std::lock_guard lock(source.mutex);
    if (provided.size() == PasswordCrypto::keyLength && source.provider == provider &&
        source.key != provided) {
        source.key = provided;
        ++source.generation;
    }
    return source.key;
}

using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)>;

CipherContext newContext()
{
    return CipherContext(EVP_CIPHER_CTX_new(), &EVP_CIPHER_CTX_free);
}

auto *bytes(QByteArray &array)
{
    return reinterpret_cast<unsigned char *>(array.data());
}

const auto *bytes(const QByteArray &array)
{
    return reinterpret_cast<const unsigned char *>(array.constData());
}

} // namespace

namespace PasswordCrypto
{

void setKeyProvider(std::function<QByteArray()> provider)
{
    KeySource &source = keySource();
    const std::lock_guard lock(source.mutex);
    source.provider = provider
                          ? std::make_shared<const std::function<QByteArray()>>(std::move(provider))
                          : nullptr;
    source.key.clear();
    ++source.generation;
}

quint64 keyGeneration()
{
    processKey();
    KeySource &source = keySource();
    const std::lock_guard lock(source.mutex);
    return source.generation;
}

QByteArray randomBytes(qsizetype count)
{
    QByteArray result(count, Qt::Uninitialized);
    if (RAND_bytes(bytes(result), static_cast<int>(count)) != 1)
        return {};
    return result;
}

std::optional<QByteArray> encrypt(const QString &text)
{
    return seal(text.toUtf8(), processKey());
}

std::optional<QString> decrypt(const QByteArray &sealed)
{
    return decrypt(sealed, processKey());
}

std::optional<QByteArray> seal(const QByteArray &plain, const QByteArray &key)
{
    if (key.size() != keyLength)
        return std::nullopt;
    const QByteArray nonce = randomBytes(nonceLength);
    if (nonce.size() != nonceLength)
        return std::nullopt;

    CipherContext context = newContext();
    // One spare byte keeps the output pointer valid for an empty text.
    QByteArray sealed(nonceLength + plain.size() + tagLength + 1, Qt::Uninitialized);
    std::copy(nonce.begin(), nonce.end(), sealed.begin());
    unsigned char *cipher = bytes(sealed) + nonceLength;
    int written = 0;
    int finalWritten = 0;
    if (!context ||
        EVP_EncryptInit_ex(context.get(), EVP_aes_256_gcm(), nullptr, nullptr, nullptr) != 1 ||
        EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_SET_IVLEN, nonceLength, nullptr) != 1 ||
        EVP_EncryptInit_ex(context.get(), nullptr, nullptr, bytes(key), bytes(nonce)) != 1 ||
        EVP_EncryptUpdate(context.get(), cipher, &written, bytes(plain),
                          static_cast<int>(plain.size())) != 1 ||
        EVP_EncryptFinal_ex(context.get(), cipher + written, &finalWritten) != 1 ||
        written + finalWritten != plain.size() ||
        EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_GET_TAG, tagLength,
                            cipher + plain.size()) != 1)
        return std::nullopt;
    sealed.chop(1);
    return sealed;
}

std::optional<QByteArray> open(const QByteArray &sealed, const QByteArray &key)
{
    if (sealed.size() < nonceLength + tagLength || key.size() != keyLength)
        return std::nullopt;
    const qsizetype cipherLength = sealed.size() - nonceLength - tagLength;
    const unsigned char *nonce = bytes(sealed);
    const unsigned char *cipher = nonce + nonceLength;
    QByteArray tag = sealed.right(tagLength);

    CipherContext context = newContext();
    QByteArray plain(cipherLength + 1, Qt::Uninitialized);
    int written = 0;
    int finalWritten = 0;
    if (!context ||
        EVP_DecryptInit_ex(context.get(), EVP_aes_256_gcm(), nullptr, nullptr, nullptr) != 1 ||
        EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_SET_IVLEN, nonceLength, nullptr) != 1 ||
        EVP_DecryptInit_ex(context.get(), nullptr, nullptr, bytes(key), nonce) != 1 ||
        EVP_DecryptUpdate(context.get(), bytes(plain), &written, cipher,
                          static_cast<int>(cipherLength)) != 1 ||
        EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_SET_TAG, tagLength, bytes(tag)) != 1 ||
        EVP_DecryptFinal_ex(context.get(), bytes(plain) + written, &finalWritten) != 1)
        return std::nullopt;
    plain.truncate(written + finalWritten);
    return plain;
}

std::optional<QString> decrypt(const QByteArray &sealed, const QByteArray &key)
{
    const std::optional<QByteArray> plain = open(sealed, key);
    if (!plain)
        return std::nullopt;
    // A leading U+FEFF is part of the text, not a byte-order mark.
    QStringDecoder toUtf16(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    QString text = toUtf16(*plain);
    if (toUtf16.hasError())
        return std::nullopt;
    return text;
}

} // namespace PasswordCrypto
