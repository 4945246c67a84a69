// GNOME's custom keyboard shortcut, written into a private GSettings key file.
#include "platform/linux/gnomecustomkeybinding.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace
{

QByteArray keyFile()
{
    QFile file(qEnvironmentVariable("XDG_CONFIG_HOME") +
               QStringLiteral("/glib-2.0/settings/keyfile"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(GnomeCustomKeybinding, IsAddedOnceAndRemovedCleanly)
{
    // A key file in the test's private configuration folder; read at GSettings' first use.
    qputenv("GSETTINGS_BACKEND", "keyfile");
    GnomeCustomKeybinding binding;
    if (!binding.isAvailable())
        GTEST_SKIP() << "GNOME's media-keys schema is not installed "
                        "(./scripts/bootstrap installs gnome-settings-daemon-common)";
    // Another shortcut of the user's stays as it is.
    const QString other =
        QStringLiteral("/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/custom0/");
    ASSERT_EQ(QProcess::execute(QStringLiteral("gsettings"),
                                {QStringLiteral("set"),
                                 QStringLiteral("org.gnome.settings-daemon.plugins.media-keys"),
                                 QStringLiteral("custom-keybindings"), "['" + other + "']"}),
              0);

    EXPECT_FALSE(binding.isAdded());
    ASSERT_TRUE(binding.add());
    ASSERT_TRUE(binding.add());
    EXPECT_TRUE(GnomeCustomKeybinding().isAdded());
    const QByteArray added = keyFile();
    EXPECT_EQ(added.count("quillstash-show-board/'"), 1) << added.data();
    EXPECT_TRUE(added.contains("command='quillstash --show-board'")) << added.data();
    EXPECT_TRUE(added.contains("binding='<Control><Alt>v'")) << added.data();
    EXPECT_TRUE(added.contains(other.toUtf8())) << added.data();

    ASSERT_TRUE(binding.remove());
    EXPECT_FALSE(binding.isAdded());
    const QByteArray removed = keyFile();
    // The key file keeps an empty group; no key of ours is left.
    EXPECT_FALSE(removed.contains("quillstash-show-board/'")) << removed.data();
    EXPECT_FALSE(removed.contains("command=")) << removed.data();
    EXPECT_TRUE(removed.contains(other.toUtf8())) << removed.data();
}

} // namespace
