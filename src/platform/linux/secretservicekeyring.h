#pragma once

#include "store/keyring.h"

// The Secret Service keyring of the desktop session, through QtKeychain. Each call waits for
// the keyring's answer, running events meanwhile.
class SecretServiceKeyring final : public Keyring
{
public:
    Entry read(const QString &key) override;
    bool write(const QString &key, const QByteArray &value) override;
};
