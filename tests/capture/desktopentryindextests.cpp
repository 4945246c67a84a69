#include "platform/linux/desktopentryindex.h"
#include "scratchdirectory.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace
{

class DesktopEntryIndexTest : public testing::Test
{
protected:
    QString folder(const char *name) const { return m_directory.filePath(QString::fromUtf8(name)); }
    void write(const char *folderName, const char *relativePath, const QByteArray &contents)
    {
        const QString path = folder(folderName) + u'/' + QString::fromUtf8(relativePath);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }
    static QByteArray entry(const char *name, const char *extra = "")
    {
        return QByteArray("[Desktop Entry]\nType=Application\nName=") + name +
               "\nName[de]=Übersetzt\nExec=x\n" + extra + "\n[Desktop Action new]\nName=Other\n";
    }

    ScratchDirectory m_directory;
};

TEST_F(DesktopEntryIndexTest, FindsByStartupWMClassThenByIdThenByItsLastPart)
{
    write("user", "org.gnome.TextEditor.desktop", entry("Text Editor"));
    write("user", "firefox-esr.desktop", entry("Firefox ESR", "StartupWMClass=Firefox-esr"));
    write("user", "kde/konsole.desktop", entry("Konsole"));
    write("user", "xterm.desktop", entry("XTerm"));
    DesktopEntryIndex index({folder("user")});

    const auto found = [&](const char *className, const char *instanceName) {
        const auto entry =
            index.find(QString::fromUtf8(className), QString::fromUtf8(instanceName));
        return entry ? (entry->name + u'|' + entry->id).toStdString() : std::string("none");
    };
    EXPECT_EQ(found("Firefox-esr", "Navigator"), "Firefox ESR|firefox-esr");
    EXPECT_EQ(found("XTerm", "xterm"), "XTerm|xterm");
    EXPECT_EQ(found("Kde-konsole", ""), "Konsole|kde-konsole");
    EXPECT_EQ(found("Org.gnome.TextEditor", "org.gnome.TextEditor"),
              "Text Editor|org.gnome.TextEditor");
    EXPECT_EQ(found("texteditor", ""), "Text Editor|org.gnome.TextEditor");
    EXPECT_EQ(found("Unknown", "unknown"), "none");
    EXPECT_EQ(found("", ""), "none");
}

TEST_F(DesktopEntryIndexTest, EarlierFoldersHideLaterOnesAndHiddenEntriesDoNotCount)
{
    write("user", "editor.desktop", entry("Mine"));
    write("system", "editor.desktop", entry("System"));
    write("user", "gone.desktop", entry("Gone", "Hidden=true"));
    write("system", "gone.desktop", entry("Gone Too"));
    write("system", "link.desktop", "[Desktop Entry]\nType=Link\nName=Link\n");
    write("system", "broken.desktop", "not an entry at all");
    DesktopEntryIndex index({folder("user"), folder("system"), folder("missing")});

    ASSERT_TRUE(index.find(QStringLiteral("editor"), QString()));
    EXPECT_EQ(index.find(QStringLiteral("editor"), QString())->name, QStringLiteral("Mine"));
    EXPECT_FALSE(index.find(QStringLiteral("gone"), QString()));
    EXPECT_FALSE(index.find(QStringLiteral("link"), QString()));
    EXPECT_FALSE(index.find(QStringLiteral("broken"), QString()));
}

} // namespace
