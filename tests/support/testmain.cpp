#include "model/passwordcrypto.h"
#include "privatehome.h"
#include "scratchdirectory.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

QByteArray testClippingKey()
{
    static const QByteArray key = PasswordCrypto::randomBytes(PasswordCrypto::keyLength);
    return key;
}

int main(int argc, char **argv)
{
    // Never touch the user's own data, settings or display.
    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/quillstash-home-XXXXXX"));
    if (!home.isValid())
        return 2;
    usePrivateXdgFolders(home);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    PasswordCrypto::setKeyProvider(testClippingKey);

    // Widgets need the full application object; the rest does not mind it.
    QApplication app(argc, argv);
    testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
