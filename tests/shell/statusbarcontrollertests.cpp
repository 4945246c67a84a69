#include "board/clipboardmanagerstate.h"
#include "shell/statusbarcontroller.h"
#include "shell/statusmenutarget.h"
#include "statefixture.h"

#include <QMenu>

namespace
{

// Records what the menu and the clicks ask of the windows.
class RecordingTarget final : public StatusMenuTarget
{
public:
    bool isBoardVisible() const override { return boardVisible; }
    void showMainWindow() override { calls.append(QStringLiteral("show")); }
    void hideMainWindow() override { calls.append(QStringLiteral("hide")); }
    void toggleMainWindow() override { calls.append(QStringLiteral("toggle")); }
    std::optional<Timestamp> lastResignKeyHideTime() const override { return resignHide; }
    void openAboutWindow(bool autoCheckUpdates) override
    {
        calls.append(autoCheckUpdates ? QStringLiteral("about+check") : QStringLiteral("about"));
    }
    void openPreferencesWindow() override { calls.append(QStringLiteral("preferences")); }
    void quit() override { calls.append(QStringLiteral("quit")); }

    bool boardVisible = false;
    std::optional<Timestamp> resignHide;
    QStringList calls;
};

class StatusMenuTest : public StateFixture
{
protected:
    void SetUp() override
    {
        makeState();
        m_controller = std::make_unique<StatusBarController>(state(), m_target, m_clock);
    }
    // The entries of the menu as shown now, separators included.
    QList<QAction *> entries() { return m_controller->menu()->actions(); }
    QStringList titles()
    {
        QStringList list;
        for (const QAction *action : entries())
            list.append(action->isSeparator() ? QStringLiteral("-") : action->text());
        return list;
    }
    QAction *submenuEntry(int entry, const QString &title)
    {
        for (QAction *action : entries().at(entry)->menu()->actions())
            if (action->text() == title)
                return action;
        return nullptr;
    }
    static QString keys(const char *portable)
    {
        return QKeySequence(QString::fromLatin1(portable)).toString(QKeySequence::NativeText);
    }

    RecordingTarget m_target;
    std::unique_ptr<StatusBarController> m_controller;
};

TEST_F(StatusMenuTest, FourteenEntriesInOrder)
{
    state().setGridRows(3);
    state().setGridColumns(3);
    const QStringList expected{
        QStringLiteral("Show Board (%1)").arg(keys("Ctrl+Alt+V")),
        QStringLiteral("About Quillstash"),
        QStringLiteral("Check for Updates..."),
        QStringLiteral("Preferences... (%1)").arg(keys("Ctrl+,")),
        QStringLiteral("Hide Sidebar (%1)").arg(keys("Ctrl+Alt+S")),
        QStringLiteral("-"),
        QStringLiteral("Grid Layout (3 × 3)"),
        QStringLiteral("Appearance"),
        QStringLiteral("Pause Quillstash (%1)").arg(keys("Ctrl+.")),
        QStringLiteral("-"),
        QStringLiteral("Restore Demo Clippings"),
        QStringLiteral("Clear History"),
        QStringLiteral("-"),
        QStringLiteral("Quit Quillstash"),
    };
    EXPECT_EQ(titles(), expected);
    EXPECT_EQ(m_controller->menu()->title(), u"Quillstash Settings");
    EXPECT_EQ(entries().at(3)->shortcut(), QKeySequence(QStringLiteral("Ctrl+,")));
    EXPECT_EQ(entries().at(8)->shortcut(), QKeySequence(QStringLiteral("Ctrl+.")));
    EXPECT_EQ(entries().at(13)->shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));
}

TEST_F(StatusMenuTest, TitlesFollowTheStateEachTimeTheMenuOpens)
{
    m_target.boardVisible = true;
    state().setIsSidebarVisible(false);
    state().setIsPaused(true);
    EXPECT_TRUE(titles().at(0).startsWith(u"Hide Board ("));
    EXPECT_TRUE(titles().at(4).startsWith(u"Show Sidebar ("));
    EXPECT_EQ(titles().at(8), QStringLiteral("Resume Quillstash (%1)").arg(keys("Ctrl+.")));

    entries().at(8)->trigger();
    EXPECT_FALSE(state().isPaused());
    EXPECT_EQ(titles().at(8), QStringLiteral("Pause Quillstash (%1)").arg(keys("Ctrl+.")));
}

struct GridCase {
    int rows;
    int columns;
    const char *checked; // nullptr: none
};

class GridMenu : public StatusMenuTest, public testing::WithParamInterface<GridCase>
{
};

TEST_P(GridMenu, ChecksThePresetThatMatchesBothValues)
{
    state().setGridRows(GetParam().rows);
    state().setGridColumns(GetParam().columns);
    EXPECT_EQ(titles().at(6),
              QStringLiteral("Grid Layout (%1 × %2)").arg(GetParam().rows).arg(GetParam().columns));
    QStringList checked;
    for (const QAction *action : entries().at(6)->menu()->actions())
        if (action->isChecked())
            checked.append(action->text());
    EXPECT_EQ(checked, GetParam().checked ? QStringList{QString::fromUtf8(GetParam().checked)}
                                          : QStringList());
}

INSTANTIATE_TEST_SUITE_P(StatusMenu, GridMenu,
                         testing::Values(GridCase{3, 3, "3 × 3 Default Grid"},
                                         GridCase{6, 1, "6 × 1 List Layout"},
                                         GridCase{4, 4, "4 × 4 Dense Grid"},
                                         GridCase{5, 2, nullptr}, GridCase{3, 1, nullptr}),
                         [](const auto &info) {
                             return std::to_string(info.param.rows) + "x" +
                                    std::to_string(info.param.columns);
                         });

struct AppearanceCase {
    AppearancePreference appearance;
    const char *checked;
};

class AppearanceMenu : public StatusMenuTest, public testing::WithParamInterface<AppearanceCase>
{
};

TEST_P(AppearanceMenu, ChecksTheCurrentAppearanceAndSetsTheChosenOne)
{
    state().setAppearancePreference(GetParam().appearance);
    QStringList checked;
    for (const QAction *action : entries().at(7)->menu()->actions())
        if (action->isChecked())
            checked.append(action->text());
    EXPECT_EQ(checked, QStringList{QString::fromLatin1(GetParam().checked)});

    // Choosing another entry sets it.
    for (const char *title : {"Dark Mode", "Light Mode", "Match System"}) {
        submenuEntry(7, QString::fromLatin1(title))->trigger();
        const auto expected = std::string(title) == "Dark Mode"    ? AppearancePreference::Dark
                              : std::string(title) == "Light Mode" ? AppearancePreference::Light
                                                                   : AppearancePreference::System;
        EXPECT_EQ(state().appearancePreference(), expected) << title;
    }
}

INSTANTIATE_TEST_SUITE_P(
    StatusMenu, AppearanceMenu,
    testing::Values(AppearanceCase{AppearancePreference::Dark, "Dark Mode"},
                    AppearanceCase{AppearancePreference::Light, "Light Mode"},
                    AppearanceCase{AppearancePreference::System, "Match System"}),
    [](const auto &info) { return std::string(info.param.checked).substr(0, 4); });

TEST_F(StatusMenuTest, GridPresetsSetRowsAndColumns)
{
    state().setGridRows(5);
    state().setGridColumns(2);
    submenuEntry(6, QStringLiteral("6 × 1 List Layout"))->trigger();
    EXPECT_EQ(std::pair(state().gridRows(), state().gridColumns()), std::pair(6, 1));
    submenuEntry(6, QStringLiteral("4 × 4 Dense Grid"))->trigger();
    EXPECT_EQ(std::pair(state().gridRows(), state().gridColumns()), std::pair(4, 4));
    submenuEntry(6, QStringLiteral("3 × 3 Default Grid"))->trigger();
    EXPECT_EQ(std::pair(state().gridRows(), state().gridColumns()), std::pair(3, 3));
}

struct EntryCase {
    int entry;
    const char *call;
};

class WindowEntries : public StatusMenuTest, public testing::WithParamInterface<EntryCase>
{
};

TEST_P(WindowEntries, ReachTheWindows)
{
    entries().at(GetParam().entry)->trigger();
    EXPECT_EQ(m_target.calls, QStringList{QString::fromLatin1(GetParam().call)});
}

INSTANTIATE_TEST_SUITE_P(StatusMenu, WindowEntries,
                         testing::Values(EntryCase{0, "toggle"}, EntryCase{1, "about"},
                                         EntryCase{2, "about+check"}, EntryCase{3, "preferences"},
                                         EntryCase{13, "quit"}),
                         [](const auto &info) {
                             return "entry" + std::to_string(info.param.entry);
                         });

TEST_F(StatusMenuTest, StateEntriesChangeTheState)
{
    entries().at(4)->trigger();
    EXPECT_FALSE(state().isSidebarVisible());
    entries().at(4)->trigger();
    EXPECT_TRUE(state().isSidebarVisible());

    entries().at(10)->trigger();
    const qsizetype showcase = state().items().size();
    ASSERT_GT(showcase, 0);
    state().toggleFavorite(state().items().first());
    entries().at(11)->trigger();
    EXPECT_LT(state().items().size(), showcase);
    for (const ClippingItem &item : state().items())
        EXPECT_TRUE(item.isFavorite || !item.collectionIDs.isEmpty());
    EXPECT_TRUE(m_target.calls.isEmpty());
}

struct ClickCase {
    const char *name;
    std::optional<double> secondsSinceResignHide;
    bool boardVisible;
    const char *call; // nullptr: the click is swallowed
};

class LeftClick : public StatusMenuTest, public testing::WithParamInterface<ClickCase>
{
};

TEST_P(LeftClick, TogglesUnlessItJustHidTheBoard)
{
    m_target.boardVisible = GetParam().boardVisible;
    if (GetParam().secondsSinceResignHide)
        m_target.resignHide = m_clock.now().addingSeconds(-*GetParam().secondsSinceResignHide);
    m_controller->statusBarButtonClicked();
    EXPECT_EQ(m_target.calls,
              GetParam().call ? QStringList{QString::fromLatin1(GetParam().call)} : QStringList());
}

INSTANTIATE_TEST_SUITE_P(StatusItem, LeftClick,
                         testing::Values(ClickCase{"NeverHiddenShows", std::nullopt, false, "show"},
                                         ClickCase{"VisibleHides", std::nullopt, true, "hide"},
                                         ClickCase{"JustHiddenIsSwallowed", 0.1, false, nullptr},
                                         ClickCase{"AlmostQuarterSecondIsSwallowed", 0.249, false,
                                                   nullptr},
                                         ClickCase{"QuarterSecondLaterShows", 0.25, false, "show"},
                                         ClickCase{"LongAfterShows", 30.0, false, "show"}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
