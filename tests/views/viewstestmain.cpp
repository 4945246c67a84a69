#include "model/passwordcrypto.h"
#include "privatehome.h"
#include "scratchdirectory.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

QByteArray testClippingKey()
{
    static const QByteArray key = PasswordCrypto::randomBytes(PasswordCrypto::keyLength);
    return key;
}

// Views need a widget application (menus are widgets), so they have their own main.
int main(int argc, char **argv)
{
    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/quillstash-home-XXXXXX"));
    if (!home.isValid())
        return 2;
    usePrivateXdgFolders(home);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    PasswordCrypto::setKeyProvider(testClippingKey);

    QApplication app(argc, argv);
    testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
