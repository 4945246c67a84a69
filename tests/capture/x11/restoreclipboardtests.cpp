// Restores through the real clipboard, watched by another client as other programs see it.
#include "board/clipboardmanagerstate.h"
#include "model/passwordcrypto.h"
#include "platform/fake/fakeclock.h"
#include "platform/fake/fakefrontapplication.h"
#include "platform/fake/fakehttpclient.h"
#include "platform/fake/fakeworkspace.h"
#include "platform/fake/memorysettingsstore.h"
#include "platform/x11/clipboardpasteboard.h"
#include "x11testsupport.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <xcb/xcb.h>
#include <xcb/xfixes.h>

namespace
{

// Counts the changes of the CLIPBOARD owner, as clipboard managers follow them.
class OwnerChangeWatcher
{
public:
    OwnerChangeWatcher() : m_connection(xcb_connect(nullptr, nullptr))
    {
        const xcb_query_extension_reply_t *xfixes =
            xcb_get_extension_data(m_connection, &xcb_xfixes_id);
        if (!xfixes || !xfixes->present)
            return;
        m_event = uint8_t(xfixes->first_event + XCB_XFIXES_SELECTION_NOTIFY);
        std::free(xcb_xfixes_query_version_reply(
            m_connection, xcb_xfixes_query_version(m_connection, 5, 0), nullptr));
        const char name[] = "CLIPBOARD";
        xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, sizeof(name) - 1, name), nullptr);
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        xcb_xfixes_select_selection_input(m_connection, root, atom->atom,
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER);
        std::free(atom);
        roundTrip();
    }
    ~OwnerChangeWatcher() { xcb_disconnect(m_connection); }
    OwnerChangeWatcher(const OwnerChangeWatcher &) = delete;
    OwnerChangeWatcher &operator=(const OwnerChangeWatcher &) = delete;

    bool isWatching() const { return m_event != 0; }
    // The owner changes seen since the last call.
    int takeChanges()
    {
        roundTrip();
        int changes = 0;
        while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection)) {
            changes += (event->response_type & 0x7f) == m_event;
            std::free(event);
        }
        return changes;
    }

private:
    // A round trip, so that every event sent before it has arrived.
    void roundTrip()
    {
        std::free(
            xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    }

    xcb_connection_t *m_connection;
    uint8_t m_event = 0;
};

struct RestoreCase {
    const char *name;
    ClippingItem item;
    QList<QByteArray> targets;
    QList<QByteArray> absentTargets;
};

void PrintTo(const RestoreCase &c, std::ostream *os)
{
    *os << c.name;
}

class RestoreClipboardTest : public testing::TestWithParam<RestoreCase>
{
protected:
    static void SetUpTestSuite()
    {
        PasswordCrypto::setKeyProvider(
            [] { return QByteArray(PasswordCrypto::keyLength, char(0x5a)); });
    }
    void SetUp() override
    {
        ASSERT_TRUE(m_watcher.isWatching());
        ASSERT_TRUE(m_folder.isValid());
        m_state = std::make_unique<ClipboardManagerState>(
            ClipboardManagerState::Services{m_settings, m_pasteboard, m_clock, m_frontApplication,
                                            m_workspace, m_httpClient, m_folder.path()});
        // Changes made by earlier tests may still be on their way.
        QTest::qWait(200);
        m_watcher.takeChanges();
    }

    OwnerChangeWatcher m_watcher;
    QTemporaryDir m_folder;
    MemorySettingsStore m_settings;
    ClipboardPasteboard m_pasteboard{QGuiApplication::clipboard()};
    FakeClock m_clock;
    FakeFrontApplication m_frontApplication;
    FakeWorkspace m_workspace;
    FakeHttpClient m_httpClient;
    std::unique_ptr<ClipboardManagerState> m_state;
};

TEST_P(RestoreClipboardTest, OtherProgramsSeeOneChangeWithEveryForm)
{
    m_state->copyToSystemPasteboard(ClippingItem::make(GetParam().item));
    EXPECT_EQ(m_watcher.takeChanges(), 1);

    const QByteArray targets = xclipPaste(QStringLiteral("TARGETS")).value_or(QByteArray());
    const QList<QByteArray> offered = targets.split('\n');
    for (const QByteArray &target : GetParam().targets)
        EXPECT_TRUE(offered.contains(target))
            << target.constData() << " in " << targets.constData();
    for (const QByteArray &target : GetParam().absentTargets)
        EXPECT_FALSE(offered.contains(target))
            << target.constData() << " in " << targets.constData();
    EXPECT_EQ(xclipPaste(QStringLiteral("UTF8_STRING")), GetParam().item.textContent.toUtf8());
    if (GetParam().item.isPassword) {
        EXPECT_EQ(xclipPaste(QStringLiteral("x-kde-passwordManagerHint")), QByteArray("secret"));
    }
    EXPECT_EQ(m_watcher.takeChanges(), 0) << "serving the pastes changed the owner";
}

INSTANTIATE_TEST_SUITE_P(
    Clippings, RestoreClipboardTest,
    testing::Values(RestoreCase{"textWithRichText",
                                {.textContent = "rich", .rtfData = QByteArray("{\\rtf1 rich}")},
                                {"UTF8_STRING", "text/rtf"},
                                {"x-kde-passwordManagerHint",
                                 "application/x-nspasteboard-concealed-type"}},
                    RestoreCase{"secret",
                                {.textContent = "hunter2", .isPassword = true},
                                {"UTF8_STRING", "x-kde-passwordManagerHint",
                                 "application/x-nspasteboard-concealed-type"},
                                {}},
                    RestoreCase{"secretLink",
                                {.type = ClippingType::Url,
                                 .textContent = "https://example.com/token",
                                 .isPassword = true},
                                {"UTF8_STRING", "text/uri-list", "x-kde-passwordManagerHint"},
                                {}}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
