#include "statefixture.h"

namespace
{

class SettingsTest : public StateFixture
{
};

TEST_F(SettingsTest, EmptyStoreGivesTheDefaultsAndCreationWritesNothing)
{
    const ClipboardManagerState &state = makeState();
    EXPECT_EQ(state.gridRows(), 3);
    EXPECT_EQ(state.gridColumns(), 3);
    EXPECT_TRUE(state.isSidebarVisible());
    EXPECT_EQ(state.historyLimit(), 10000);
    EXPECT_FALSE(state.ignorePasswords());
    EXPECT_FALSE(state.autoPasteIntoFrontmostApp());
    EXPECT_FALSE(state.fullCardColorPreview());
    EXPECT_EQ(state.appearancePreference(), AppearancePreference::Dark);
    EXPECT_EQ(state.resetFiltersAfterSeconds(), 0);
    EXPECT_EQ(state.sidebarSelection(), SidebarSelection::history());
    EXPECT_EQ(state.selectedPreferencesTab(), PreferencesTab::General);
    EXPECT_FALSE(state.statusToastMessage());
    EXPECT_EQ(m_settings.writeCount(), 0);
}

struct StoredCase {
    const char *name;
    const char *key;
    QVariant stored;
    std::function<QVariant(const ClipboardManagerState &)> read;
    QVariant expected;
};

class StoredSettingTest : public StateFixture, public testing::WithParamInterface<StoredCase>
{
};

TEST_P(StoredSettingTest, StartUpRule)
{
    m_settings.setValue(QString::fromLatin1(GetParam().key), GetParam().stored);
    EXPECT_EQ(GetParam().read(makeState()), GetParam().expected);
}

QVariant rows(const ClipboardManagerState &s)
{
    return s.gridRows();
}
QVariant columns(const ClipboardManagerState &s)
{
    return s.gridColumns();
}
QVariant limit(const ClipboardManagerState &s)
{
    return s.historyLimit();
}
QVariant sidebar(const ClipboardManagerState &s)
{
    return s.isSidebarVisible();
}
QVariant appearance(const ClipboardManagerState &s)
{
    return rawValue(s.appearancePreference());
}
QVariant resetSeconds(const ClipboardManagerState &s)
{
    return s.resetFiltersAfterSeconds();
}
QVariant autoPaste(const ClipboardManagerState &s)
{
    return s.autoPasteIntoFrontmostApp();
}

INSTANTIATE_TEST_SUITE_P(
    Values, StoredSettingTest,
    testing::Values(
        StoredCase{"rowsZero", "Quillstash.gridRows", 0, rows, 3},
        StoredCase{"rowsNegative", "Quillstash.gridRows", -4, rows, 3},
        StoredCase{"rowsAboveStepBound", "Quillstash.gridRows", 25, rows, 25},
        StoredCase{"rowsText", "Quillstash.gridRows", QStringLiteral("5"), rows, 5},
        StoredCase{"rowsGarbage", "Quillstash.gridRows", QStringLiteral("many"), rows, 3},
        StoredCase{"columnsZero", "Quillstash.gridColumns", 0, columns, 3},
        StoredCase{"limitZero", "Quillstash.historyLimit", 0, limit, 10000},
        StoredCase{"limitTwenty", "Quillstash.historyLimit", 20, limit, 20},
        StoredCase{"sidebarHidden", "Quillstash.sidebarVisible", false, sidebar, false},
        StoredCase{"sidebarText", "Quillstash.sidebarVisible", QStringLiteral("false"), sidebar,
                   false},
        StoredCase{"sidebarGarbage", "Quillstash.sidebarVisible", QStringLiteral("nah"), sidebar,
                   true},
        StoredCase{"appearanceLight", "Quillstash.appearance", QStringLiteral("Light"), appearance,
                   QStringLiteral("Light")},
        StoredCase{"appearanceSystem", "Quillstash.appearance", QStringLiteral("System"),
                   appearance, QStringLiteral("System")},
        StoredCase{"appearanceCase", "Quillstash.appearance", QStringLiteral("light"), appearance,
                   QStringLiteral("Dark")},
        StoredCase{"appearanceNumber", "Quillstash.appearance", 3, appearance,
                   QStringLiteral("Dark")},
        StoredCase{"resetNegative", "Quillstash.resetSeconds", -30, resetSeconds, -30},
        StoredCase{"resetHuge", "Quillstash.resetSeconds", 86400 * 365, resetSeconds, 86400 * 365},
        StoredCase{"autoPaste", "Quillstash.autoPasteDirect", true, autoPaste, true}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(SettingsTest, StepOperationsClampAndAlwaysWrite)
{
    m_settings.setValue(QStringLiteral("Quillstash.gridRows"), 25);
    ClipboardManagerState &state = makeState();
    state.incrementRows();
    EXPECT_EQ(state.gridRows(), 10);
    state.incrementRows();
    EXPECT_EQ(state.gridRows(), 10);

    const int writesBefore = m_settings.writeCount();
    state.decrementColumns();
    state.decrementColumns();
    state.decrementColumns();
    EXPECT_EQ(state.gridColumns(), 1);
    EXPECT_EQ(m_settings.writeCount(), writesBefore + 3);
    EXPECT_EQ(m_settings.value(QStringLiteral("Quillstash.gridColumns")), 1);

    for (int i = 0; i < 8; ++i)
        state.incrementColumns();
    EXPECT_EQ(state.gridColumns(), 6);
    for (int i = 0; i < 12; ++i)
        state.decrementRows();
    EXPECT_EQ(state.gridRows(), 1);
}

TEST_F(SettingsTest, AssignmentsWriteTheirKeysInTheirForms)
{
    ClipboardManagerState &state = makeState();
    state.setAppearancePreference(AppearancePreference::Light);
    state.setIgnorePasswords(true);
    state.setFullCardColorPreview(true);
    state.setResetFiltersAfterSeconds(300);
    state.setHistoryLimit(20);
    state.setIsSidebarVisible(false);
    state.setAutoPasteIntoFrontmostApp(true);
    EXPECT_EQ(m_settings.value(QStringLiteral("Quillstash.appearance")), QStringLiteral("Light"));
    EXPECT_EQ(m_settings.value(QStringLiteral("Quillstash.ignorePasswords")), true);
    EXPECT_EQ(m_settings.value(QStringLiteral("Quillstash.fullCardColor")), true);
    EXPECT_EQ(m_settings.value(QStringLiteral("Quillstash.resetSeconds")), 300);
    EXPECT_EQ(m_settings.value(QStringLiteral("Quillstash.historyLimit")), 20);
    EXPECT_EQ(m_settings.value(QStringLiteral("Quillstash.sidebarVisible")), false);
    EXPECT_EQ(m_settings.value(QStringLiteral("Quillstash.autoPasteDirect")), true);
}

TEST_F(SettingsTest, AnchoringCallsItsHookOnEveryAssignment)
{
    ClipboardManagerState &state = makeState();
    QList<bool> calls;
    state.onAnchorChanged = [&](bool anchored) {
        EXPECT_EQ(state.isWindowAnchored(), anchored) << "stored before the hook runs";
        calls.append(anchored);
    };
    state.setIsWindowAnchored(false);
    state.setIsWindowAnchored(true);
    state.setIsWindowAnchored(true);
    EXPECT_EQ(calls, (QList<bool>{false, true, true}));
}

TEST_F(SettingsTest, PublishedChangesNotifyViews)
{
    ClipboardManagerState &state = makeState();
    int changes = 0;
    int searchChanges = 0;
    QObject::connect(&state, &ClipboardManagerState::changed, [&] { ++changes; });
    QObject::connect(&state, &ClipboardManagerState::searchTextChanged, [&] { ++searchChanges; });
    state.setSearchText(QStringLiteral("abc"));
    state.setIsPaused(true);
    EXPECT_EQ(searchChanges, 1);
    EXPECT_EQ(changes, 2);
}

} // namespace
