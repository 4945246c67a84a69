#include "platform/x11/x11frontapplication.h"
#include "platform/x11/x11windowactivator.h"
#include "x11testsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRasterWindow>
#include <QTest>
#include <gtest/gtest.h>

namespace
{

class X11FrontApplicationTest : public testing::Test
{
protected:
    void SetUp() override
    {
        QDir().mkpath(m_applications.path());
        QFile entry(m_applications.filePath(QStringLiteral("scratch-editor.desktop")));
        ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
        entry.write("[Desktop Entry]\nType=Application\nName=Scratch Editor\n"
                    "StartupWMClass=ScratchEditor\nExec=scratch\n");
    }
    // The front application once the window is in front.
    std::optional<RunningApplication> frontWhenActive(quint64 window)
    {
        std::optional<RunningApplication> front;
        const bool active = QTest::qWaitFor(
            [&] {
                front = m_front.frontmostApplication();
                return front && front->windowId == window;
            },
            5000);
        return active ? front : std::nullopt;
    }

    QTemporaryDir m_applications;
    X11FrontApplication m_front{QByteArray(), DesktopEntryIndex({m_applications.path()})};
};

TEST_F(X11FrontApplicationTest, OwnWindowIsKnownByItsProcess)
{
    QRasterWindow window;
    window.resize(200, 100);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    // As a pager would: openbox refuses focus to a new window that asks for it itself.
    X11WindowActivator().activate(window.winId());
    const std::optional<RunningApplication> front = frontWhenActive(window.winId());
    ASSERT_TRUE(front);
    EXPECT_EQ(front->processId, QCoreApplication::applicationPid());
    EXPECT_TRUE(front->bundleIdentifier.isEmpty()) << "no desktop entry of its own";
    EXPECT_FALSE(front->localizedName.isEmpty()) << "named by its WM_CLASS";
}

TEST_F(X11FrontApplicationTest, OwnWindowNoLongerCountsOnceHidden)
{
    QRasterWindow window;
    window.resize(200, 100);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    X11WindowActivator().activate(window.winId());
    ASSERT_TRUE(frontWhenActive(window.winId()));

    // openbox goes on naming the hidden window as the active one when no other takes over.
    window.hide();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            const std::optional<RunningApplication> front = m_front.frontmostApplication();
            return !front || front->processId != QCoreApplication::applicationPid();
        },
        2000));
}

TEST_F(X11FrontApplicationTest, NamedByItsDesktopEntryAndFoundWithoutAPidProperty)
{
    OwnerProcess editor({{QStringLiteral("UTF8_STRING"), "x"}},
                        {QStringLiteral("--window"), QStringLiteral("ScratchEditor")});
    ASSERT_TRUE(editor.waitUntilReady());
    const std::optional<RunningApplication> front = frontWhenActive(editor.window());
    ASSERT_TRUE(front);
    EXPECT_EQ(front->localizedName, QStringLiteral("Scratch Editor"));
    EXPECT_EQ(front->bundleIdentifier, QStringLiteral("scratch-editor"));
    EXPECT_EQ(front->processId, editor.processId()) << "from the X-Resource extension";
}

TEST_F(X11FrontApplicationTest, WithoutDesktopEntryTheClassNameIsTheName)
{
    OwnerProcess tool({{QStringLiteral("UTF8_STRING"), "x"}},
                      {QStringLiteral("--window"), QStringLiteral("Obscure-Tool")});
    ASSERT_TRUE(tool.waitUntilReady());
    const std::optional<RunningApplication> front = frontWhenActive(tool.window());
    ASSERT_TRUE(front);
    EXPECT_EQ(front->localizedName, QStringLiteral("Obscure-Tool"));
    EXPECT_TRUE(front->bundleIdentifier.isEmpty());
}

TEST(X11FrontApplicationWithoutDisplay, HasNoFrontApplication)
{
    X11FrontApplication front(QByteArrayLiteral(":999"));
    EXPECT_FALSE(front.frontmostApplication());
}

} // namespace
