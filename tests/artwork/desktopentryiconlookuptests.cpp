#include "platform/linux/desktopentryiconlookup.h"
#include "scratchdirectory.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace
{

class DesktopEntryIconLookupTest : public testing::Test
{
protected:
    QString folder(const char *name) const { return m_scratch.filePath(QString::fromLatin1(name)); }

    void writeEntry(const char *folderName, const QString &relativePath, const QByteArray &text)
    {
        const QDir base(folder(folderName));
        const QString path = base.filePath(relativePath);
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QString iconName(const QString &bundleID) const
    {
        return DesktopEntryIconLookup({folder("user"), folder("system")}).iconName(bundleID);
    }

    ScratchDirectory m_scratch;
};

TEST_F(DesktopEntryIconLookupTest, FindsTheIconOfTheEntryNamedByTheID)
{
    writeEntry("system", "org.example.Editor.desktop",
               "[Desktop Entry]\nType=Application\nName=Editor\nIcon[de]=editor-de\n"
               "Icon = accessories-text-editor \n\n[Desktop Action new]\nIcon=other\n");
    EXPECT_EQ(iconName("org.example.Editor"), "accessories-text-editor");
    EXPECT_EQ(iconName("org.example.Editor.desktop"), "accessories-text-editor");
    EXPECT_EQ(iconName("org.example.editor"), "") << "desktop-file ids are case-sensitive";
}

TEST_F(DesktopEntryIconLookupTest, AnEntryInASubfolderHasADashedID)
{
    writeEntry("system", "kde/org.example.Tool.desktop", "[Desktop Entry]\nIcon=/opt/tool.png\n");
    EXPECT_EQ(iconName("kde-org.example.Tool"), "/opt/tool.png");
    EXPECT_EQ(iconName("org.example.Tool"), "");
}

TEST_F(DesktopEntryIconLookupTest, TheUsersEntryOverridesAndCanHideTheSystems)
{
    writeEntry("system", "browser.desktop", "[Desktop Entry]\nIcon=system-browser\n");
    writeEntry("system", "player.desktop", "[Desktop Entry]\nIcon=system-player\n");
    writeEntry("user", "browser.desktop", "[Desktop Entry]\nIcon=my-browser\n");
    writeEntry("user", "player.desktop", "[Desktop Entry]\nIcon=my-player\nHidden=true\n");
    EXPECT_EQ(iconName("browser"), "my-browser");
    EXPECT_EQ(iconName("player"), "") << "a hidden entry deletes the application";
}

TEST_F(DesktopEntryIconLookupTest, IdsThatLeaveTheFoldersFindNothing)
{
    writeEntry("system", "app.desktop", "[Desktop Entry]\nIcon=app\n");
    writeEntry("system", "kde/app.desktop", "[Desktop Entry]\nIcon=kde-app\n");
    for (const char *id : {"", ".desktop", "../system/app", "kde/app", "..", " "})
        EXPECT_EQ(iconName(QString::fromLatin1(id)), "") << id;
    EXPECT_EQ(DesktopEntryIconLookup({folder("missing")}).iconName("app"), "");
}

} // namespace
