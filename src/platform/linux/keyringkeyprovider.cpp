#include "keyringkeyprovider.h"

#include "secretservicekeyring.h"
#include "store/clippingkey.h"

#include <cstdio>
#include <memory>

std::function<QByteArray()> keyringKeyProvider(SettingsStore &settings)
{
    auto keyring = std::make_shared<SecretServiceKeyring>();
    auto noticed = std::make_shared<bool>(false);
    return [&settings, keyring, noticed] {
        return ClippingKey::loadOrCreate(settings, *keyring,
                                         [&](const QString &text) {
                                             if (*noticed)
                                                 return;
                                             *noticed = true;
                                             std::fprintf(stderr, "quillstash: %s\n",
                                                          qPrintable(text));
                                         })
            .value_or(QByteArray());
    };
}
