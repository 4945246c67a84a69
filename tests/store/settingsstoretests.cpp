#include "scratchdirectory.h"
#include "store/inisettingsstore.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace
{

mode_t fileMode(const QString &path)
{
    struct stat info {
    };
    ::stat(QFile::encodeName(path).constData(), &info);
    return info.st_mode & 0777;
}

TEST(IniSettingsStoreTest, ValuesSurviveANewStoreOnTheSameFile)
{
    ScratchDirectory directory;
    const QString path = directory.filePath(QStringLiteral("Quillstash/Quillstash.conf"));
    const QByteArray key(32, '\x9c');
    {
        IniSettingsStore settings(path);
        settings.setValue(QStringLiteral("Quillstash.gridRows"), 7);
        settings.setValue(QStringLiteral("Quillstash.sidebarVisible"), false);
        settings.setValue(QStringLiteral("Quillstash.appearance"), QStringLiteral("Light"));
        settings.setValue(QStringLiteral("Quillstash.SymmetricKeyData"), key);
    }
    const IniSettingsStore reread(path);
    EXPECT_EQ(reread.intValue(QStringLiteral("Quillstash.gridRows")), 7);
    EXPECT_EQ(reread.boolValue(QStringLiteral("Quillstash.sidebarVisible")), false);
    EXPECT_EQ(reread.stringValue(QStringLiteral("Quillstash.appearance")), QStringLiteral("Light"));
    EXPECT_EQ(reread.bytesValue(QStringLiteral("Quillstash.SymmetricKeyData")), key);
    EXPECT_FALSE(reread.intValue(QStringLiteral("Quillstash.missing")));
}

TEST(IniSettingsStoreTest, FileAndFolderArePrivateEvenWhenTheyWereNot)
{
    ScratchDirectory directory;
    const QString folder = directory.filePath(QStringLiteral("Quillstash"));
    const QString path = folder + QStringLiteral("/Quillstash.conf");
    QDir().mkpath(folder);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[General]\n");
    file.close();
    ::chmod(QFile::encodeName(path).constData(), 0644);
    ::chmod(QFile::encodeName(folder).constData(), 0755);

    IniSettingsStore settings(path);
    EXPECT_EQ(fileMode(path), 0600u);
    EXPECT_EQ(fileMode(folder), 0700u);
    settings.setValue(QStringLiteral("Quillstash.gridRows"), 4);
    EXPECT_EQ(fileMode(path), 0600u);
}

struct TypedCase {
    const char *name;
    QVariant stored;
    std::optional<int> asInt;
    std::optional<bool> asBool;
};

class TypedReadTest : public testing::TestWithParam<TypedCase>
{
};

// Values come back as text from a file, and a hand-edited file may hold anything.
TEST_P(TypedReadTest, WrongTypesReadAsMissing)
{
    ScratchDirectory directory;
    IniSettingsStore settings(directory.filePath(QStringLiteral("s.conf")));
    settings.setValue(QStringLiteral("k"), GetParam().stored);
    EXPECT_EQ(settings.intValue(QStringLiteral("k")), GetParam().asInt);
    EXPECT_EQ(settings.boolValue(QStringLiteral("k")), GetParam().asBool);
    const IniSettingsStore reread(directory.filePath(QStringLiteral("s.conf")));
    EXPECT_EQ(reread.intValue(QStringLiteral("k")), GetParam().asInt);
    EXPECT_EQ(reread.boolValue(QStringLiteral("k")), GetParam().asBool);
}

INSTANTIATE_TEST_SUITE_P(
    Values, TypedReadTest,
    testing::Values(
        TypedCase{"int", QVariant(12), 12, std::nullopt},
        TypedCase{"negative", QVariant(-4), -4, std::nullopt},
        TypedCase{"numericText", QVariant(QStringLiteral("25")), 25, std::nullopt},
        TypedCase{"bool", QVariant(true), std::nullopt, true},
        TypedCase{"boolText", QVariant(QStringLiteral("false")), std::nullopt, false},
        TypedCase{"garbage", QVariant(QStringLiteral("banana")), std::nullopt, std::nullopt},
        TypedCase{"huge", QVariant(QStringLiteral("99999999999999")), std::nullopt, std::nullopt},
        TypedCase{"list", QVariant(QStringList{"a", "b"}), std::nullopt, std::nullopt}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
