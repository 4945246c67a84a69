#include "model/passwordcrypto.h"
#include "scratchdirectory.h"

#include <QDir>
#include <QGuiApplication>
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
    for (const char *name :
         {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"}) {
        const QString path = home.filePath(QString::fromLatin1(name));
        QDir().mkpath(path);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv(name, path.toLocal8Bit());
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    PasswordCrypto::setKeyProvider(testClippingKey);

    QGuiApplication app(argc, argv);
    testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
