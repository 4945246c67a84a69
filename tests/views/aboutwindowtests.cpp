#include "board/clipboardmanagerstate.h"
#include "loopbackserver.h"
#include "statefixture.h"
#include "store/vendoraddress.h"
#include "update/networkhttpclient.h"
#include "update/programversion.h"
#include "update/updateprotocol.h"
#include "update/upgradecommand.h"
#include "views/foundation/theme.h"
#include "views/windows/aboutwindow.h"
#include "views/windows/aboutwindowopener.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

namespace
{

const RemoteVersionInfo newer{QStringLiteral("2.1.0"), 250};

class AboutWindowTest : public StateFixture
{
protected:
    void SetUp() override
    {
        qputenv(VendorAddress::environmentVariable, "https://updates.example.org");
        makeState();
    }
    void TearDown() override { qunsetenv(VendorAddress::environmentVariable); }

    AboutWindow &window()
    {
        if (!m_window)
            m_window = std::make_unique<AboutWindow>(state());
        return *m_window;
    }
    // A widget of the window by its name, if it is shown (hidden ones are on their way out).
    template <typename T = QWidget> T *shown(const char *name)
    {
        for (T *child : window().findChildren<T *>(QString::fromLatin1(name))) {
            if (child->isVisibleTo(&window()))
                return child;
        }
        return nullptr;
    }
    QStringList shownLabels()
    {
        QStringList texts;
        for (const QLabel *label : window().findChildren<QLabel *>()) {
            if (label->isVisibleTo(&window()) && !label->text().isEmpty())
                texts.append(label->text());
        }
        return texts;
    }
    QImage render(const QString &name)
    {
        const QImage image = window().grab().toImage();
        QDir().mkpath(QStringLiteral(ABOUT_PICTURE_DIR));
        image.save(QStringLiteral(ABOUT_PICTURE_DIR "/") + name + QStringLiteral(".png"));
        return image;
    }
    void click(const char *name)
    {
        QPushButton *button = shown<QPushButton>(name);
        ASSERT_TRUE(button) << name;
        QTest::mouseClick(button, Qt::LeftButton);
    }

    std::unique_ptr<AboutWindow> m_window;
};

struct StatusCase {
    const char *name;
    UpdateCheckStatus status;
    const char *section; // Null: nothing below the version.
    QString text;
};

const StatusCase statusCases[] = {
    {"idle", UpdateCheckStatus::Idle{}, nullptr, {}},
    {"checking", UpdateCheckStatus::Checking{}, "checkingRow",
     QStringLiteral("Checking for updates...")},
    {"uptodate", UpdateCheckStatus::UpToDate{QStringLiteral("2.0.4"), 204}, "upToDatePanel",
     QStringLiteral("You’re up to date! (v2.0.4 is the latest version)")},
    {"available", UpdateCheckStatus::UpdateAvailable{newer}, "updateAvailablePanel",
     QStringLiteral("Update Available: v2.1.0 (Build 250)")},
    {"failed", UpdateCheckStatus::Failed{UpdateProtocol::unreachableMessage()}, "failureMessage",
     QStringLiteral("Could not reach update server. Please check your internet connection.")},
};

TEST_F(AboutWindowTest, ShowsEveryStatusInBothAppearances)
{
    for (const AppearancePreference appearance :
         {AppearancePreference::Dark, AppearancePreference::Light}) {
        state().setAppearancePreference(appearance);
        const Theme &theme = Theme::forAppearance(appearance);
        for (const StatusCase &c : statusCases) {
            SCOPED_TRACE(c.name);
            state().setUpdateCheckStatus(c.status);
            const QString suffix =
                theme.isDark ? QStringLiteral("-dark") : QStringLiteral("-light");
            const QImage image = render(QStringLiteral("about-") + QLatin1String(c.name) + suffix);
            ASSERT_EQ(image.size(), QSize(380, 370) * image.devicePixelRatio());

            const QStringList labels = shownLabels();
            EXPECT_TRUE(labels.contains(QStringLiteral("Quillstash")));
            for (const char *section :
                 {"checkingRow", "upToDatePanel", "updateAvailablePanel", "failureMessage"})
                EXPECT_EQ(shown(section) != nullptr, c.section && qstrcmp(section, c.section) == 0)
                    << section;
            if (!c.text.isEmpty()) {
                EXPECT_TRUE(labels.contains(c.text)) << labels.join(u'|').toStdString();
            }

            // The panels are tinted with their colour at 12 % over the window.
            const QWidget *panel = c.section ? shown(c.section) : nullptr;
            const QColor tint = qstrcmp(c.name, "uptodate") == 0    ? theme.green
                                : qstrcmp(c.name, "available") == 0 ? theme.blue
                                                                    : QColor();
            if (panel && tint.isValid()) {
                const QPoint probe = panel->mapTo(&window(), QPoint(4, panel->height() / 2));
                const QColor seen = image.pixelColor(probe * image.devicePixelRatio());
                const QColor base = theme.barBackground;
                const auto mix = [](float over, float under) {
                    return int(std::lround(255 * (0.12f * over + 0.88f * under)));
                };
                EXPECT_NEAR(seen.red(), mix(tint.redF(), base.redF()), 3);
                EXPECT_NEAR(seen.green(), mix(tint.greenF(), base.greenF()), 3);
                EXPECT_NEAR(seen.blue(), mix(tint.blueF(), base.blueF()), 3);
            }
        }
    }
}

TEST_F(AboutWindowTest, NamesTheVersionAndBuildOfTheProgram)
{
    const QWidget *badge = window().findChild<QWidget *>(QStringLiteral("versionBadge"));
    ASSERT_TRUE(badge);
    EXPECT_EQ(badge->accessibleName(), QStringLiteral("Version %1 (Build %2)")
                                           .arg(ProgramVersion::text())
                                           .arg(ProgramVersion::build()));
    EXPECT_EQ(window().windowTitle(), QStringLiteral("About Quillstash"));
    EXPECT_TRUE(window().windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(window().windowFlags() & Qt::WindowMinimizeButtonHint);
}

TEST_F(AboutWindowTest, TheCopyButtonSwitchesItsLabelUntilTheNextCheck)
{
    state().setUpdateCheckStatus(UpdateCheckStatus::UpdateAvailable{newer});
    const auto copyLabel = [&] {
        const QPushButton *button = shown<QPushButton>("copyUpgradeCommandButton");
        return button ? button->text() : QString();
    };
    EXPECT_EQ(copyLabel(), QStringLiteral("Copy upgrade command"));
    click("copyUpgradeCommandButton");
    EXPECT_EQ(copyLabel(), QStringLiteral("✓ Copied upgrade command"));
    render(QStringLiteral("about-available-copied-") +
           (Theme::forAppearance(state().appearancePreference()).isDark ? QStringLiteral("dark")
                                                                        : QStringLiteral("light")));
    click("copyUpgradeCommandButton");
    EXPECT_EQ(copyLabel(), QStringLiteral("✓ Copied upgrade command"));
    EXPECT_EQ(m_pasteboard.content().string, UpgradeCommand::text());

    click("checkForUpdatesButton");
    EXPECT_TRUE(shown("checkingRow"));
    ASSERT_EQ(m_httpClient.requestCount(), 1);
    m_httpClient.respond(0, 200, R"({"version":"2.1.0","build":250})");
    EXPECT_EQ(copyLabel(), QStringLiteral("Copy upgrade command"));
}

TEST_F(AboutWindowTest, DownloadOpensTheOfferedAddress)
{
    state().setUpdateCheckStatus(UpdateCheckStatus::UpdateAvailable{newer});
    click("downloadButton");
    EXPECT_EQ(m_workspace.opened(),
              QList<QUrl>{QUrl("https://updates.example.org/download/Quillstash.dmg")});
}

TEST_F(AboutWindowTest, OpensOneCentredWindowAndOkHidesIt)
{
    AboutWindowOpener opener(state());
    state().setUpdateCheckStatus(UpdateCheckStatus::Failed{QStringLiteral("old")});
    opener.open(false);
    AboutWindow *first = opener.window();
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_TRUE(state().updateCheckStatus().is<UpdateCheckStatus::Idle>());
    EXPECT_EQ(first->geometry().center(), first->screen()->availableGeometry().center());

    opener.open(false);
    EXPECT_EQ(opener.window(), first);
    int aboutWindows = 0;
    for (const QWidget *widget : QApplication::topLevelWidgets())
        aboutWindows += qobject_cast<const AboutWindow *>(widget) ? 1 : 0;
    EXPECT_EQ(aboutWindows, 1);

    QPushButton *ok = first->findChild<QPushButton *>(QStringLiteral("okButton"));
    ASSERT_TRUE(ok);
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_FALSE(first->isVisible());

    // Through a check-for-updates entry the check shows at once, in the same window.
    opener.open(true);
    EXPECT_EQ(opener.window(), first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_TRUE(state().updateCheckStatus().is<UpdateCheckStatus::Checking>());
    EXPECT_EQ(m_httpClient.requestCount(), 1);
}

TEST_F(AboutWindowTest, ChecksAgainstARealServer)
{
    LoopbackServer server;
    NetworkHttpClient network;
    qputenv(VendorAddress::environmentVariable,
            "http://127.0.0.1:" + QByteArray::number(server.port()));
    makeState(&network);
    server.setReply(LoopbackServer::reply(200, R"({"version":"2.1.0","build":250})"));
    const auto waitFor = [&](const char *section) {
        return QTest::qWaitFor([&] { return shown(section) != nullptr; }, 5000);
    };

    click("checkForUpdatesButton");
    EXPECT_TRUE(shown("checkingRow"));
    ASSERT_TRUE(waitFor("updateAvailablePanel"));
    EXPECT_TRUE(shownLabels().contains(QStringLiteral("Update Available: v2.1.0 (Build 250)")));
    ASSERT_EQ(server.received().size(), 1);
    EXPECT_TRUE(requestLine(server.received().first()).startsWith("GET /version.json?t="));

    // No server at all: the progress row first, then the message.
    quint16 closedPort = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
        closedPort = probe.serverPort();
    }
    qputenv(VendorAddress::environmentVariable,
            "http://127.0.0.1:" + QByteArray::number(closedPort));
    click("checkForUpdatesButton");
    EXPECT_TRUE(shown("checkingRow"));
    ASSERT_TRUE(waitFor("failureMessage"));
    EXPECT_EQ(shown<QLabel>("failureMessage")->text(), UpdateProtocol::unreachableMessage());

    // The client goes before the fixture's state would.
    m_window.reset();
    m_state.reset();
}

} // namespace
