#include "board/clipboardmanagerstate.h"
#include "keyboard/desktopshortcut.h"
#include "platform/fake/fakeloginitem.h"
#include "platform/linux/xdgautostartentry.h"
#include "statefixture.h"
#include "store/inisettingsstore.h"
#include "views/windows/hotkeybindingpanel.h"
#include "views/windows/preferenceswindow.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTest>
#include <QToolButton>

namespace
{

// On the box itself: a toggle stretched over the row takes clicks only on its box and text.
void clickToggle(QWidget *toggle)
{
    QTest::mouseClick(toggle, Qt::LeftButton, {}, QPoint(6, toggle->height() / 2));
}

class PreferencesWindowTest : public StateFixture
{
protected:
    void SetUp() override { makeState(); }

    PreferencesWindow &window()
    {
        if (!m_window)
            m_window = std::make_unique<PreferencesWindow>(state(), m_loginItem);
        return *m_window;
    }
    template <typename T = QWidget> T &child(const QString &name)
    {
        T *found = window().findChild<T *>(name);
        if (!found)
            throw std::runtime_error(qPrintable(QStringLiteral("no widget ") + name));
        return *found;
    }
    void click(const QString &name, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            QTest::mouseClick(&child<QAbstractButton>(name), Qt::LeftButton);
    }
    // Picks the choice as a user would: the picker's own signal for an index.
    void choose(const QString &pickerName, const QString &text)
    {
        auto &picker = child<QComboBox>(pickerName);
        const int index = picker.findText(text);
        ASSERT_GE(index, 0) << qPrintable(text);
        picker.setCurrentIndex(index);
        emit picker.activated(index);
    }

    FakeLoginItem m_loginItem;
    std::unique_ptr<PreferencesWindow> m_window;
};

struct StepperCase {
    const char *name;
    const char *button;
    int clicks;
    int rows;
    int columns;
};

class StepperBounds : public PreferencesWindowTest, public testing::WithParamInterface<StepperCase>
{
};

TEST_P(StepperBounds, StopsAtItsBound)
{
    click(QString::fromLatin1(GetParam().button), GetParam().clicks);
    EXPECT_EQ(state().gridRows(), GetParam().rows);
    EXPECT_EQ(state().gridColumns(), GetParam().columns);
    EXPECT_EQ(child<QLabel>(QStringLiteral("rowsValue")).text(), QString::number(GetParam().rows));
    EXPECT_EQ(child<QLabel>(QStringLiteral("columnsValue")).text(),
              QString::number(GetParam().columns));
}

INSTANTIATE_TEST_SUITE_P(Preferences, StepperBounds,
                         testing::Values(StepperCase{"RowsUp", "rowsMore", 12, 10, 3},
                                         StepperCase{"RowsDown", "rowsLess", 5, 1, 3},
                                         StepperCase{"ColumnsUp", "columnsMore", 9, 3, 6},
                                         StepperCase{"ColumnsDown", "columnsLess", 5, 3, 1},
                                         StepperCase{"RowsOnce", "rowsMore", 1, 4, 3}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(PreferencesWindowTest, StepperButtonsAreDisabledAtTheBounds)
{
    state().setGridRows(10);
    state().setGridColumns(1);
    EXPECT_FALSE(child<QToolButton>(QStringLiteral("rowsMore")).isEnabled());
    EXPECT_TRUE(child<QToolButton>(QStringLiteral("rowsLess")).isEnabled());
    EXPECT_FALSE(child<QToolButton>(QStringLiteral("columnsLess")).isEnabled());
    EXPECT_TRUE(child<QToolButton>(QStringLiteral("columnsMore")).isEnabled());
}

struct PresetCase {
    const char *button;
    int rows;
    int columns;
};

class Presets : public PreferencesWindowTest, public testing::WithParamInterface<PresetCase>
{
};

TEST_P(Presets, SetBothValuesAtOnce)
{
    state().setGridRows(7);
    state().setGridColumns(5);
    click(QString::fromLatin1(GetParam().button));
    EXPECT_EQ(state().gridRows(), GetParam().rows);
    EXPECT_EQ(state().gridColumns(), GetParam().columns);
}

INSTANTIATE_TEST_SUITE_P(Preferences, Presets,
                         testing::Values(PresetCase{"preset3x3", 3, 3},
                                         PresetCase{"preset6x1", 6, 1},
                                         PresetCase{"preset4x4", 4, 4}),
                         [](const auto &info) { return std::string(info.param.button); });

// Every control writes its setting through to the file, as a later run reads it.
TEST(PreferencesSettings, ControlsWriteTheStoredValues)
{
    ScratchDirectory directory;
    const QString file = directory.filePath(QStringLiteral("Quillstash.conf"));
    {
        IniSettingsStore settings(file);
        FakePasteboard pasteboard;
        FakeClock clock;
        FakeFrontApplication front;
        FakeWorkspace workspace;
        FakeHttpClient http;
        ClipboardManagerState state(
            {settings, pasteboard, clock, front, workspace, http, directory.path()});
        FakeLoginItem loginItem;
        PreferencesWindow window(state, loginItem);
        const auto named = [&](const char *name) {
            return window.findChild<QWidget *>(QString::fromLatin1(name));
        };
        QTest::mouseClick(static_cast<QAbstractButton *>(named("appearanceLight")), Qt::LeftButton);
        clickToggle(named("autoPaste"));
        clickToggle(named("fullCardColor"));
        clickToggle(named("ignorePasswords"));
        for (const auto &[picker, index] : {std::pair{"resetPicker", 3}, {"historyPicker", 1}}) {
            auto *box = static_cast<QComboBox *>(named(picker));
            box->setCurrentIndex(index);
            emit box->activated(index);
        }
    }
    IniSettingsStore reread(file);
    EXPECT_EQ(reread.stringValue(QStringLiteral("Quillstash.appearance")), u"Light");
    EXPECT_EQ(reread.boolValue(QStringLiteral("Quillstash.autoPasteDirect")), true);
    EXPECT_EQ(reread.boolValue(QStringLiteral("Quillstash.fullCardColor")), true);
    EXPECT_EQ(reread.boolValue(QStringLiteral("Quillstash.ignorePasswords")), true);
    EXPECT_EQ(reread.intValue(QStringLiteral("Quillstash.resetSeconds")), 300);
    EXPECT_EQ(reread.intValue(QStringLiteral("Quillstash.historyLimit")), 1000);
}

struct PickerCase {
    const char *picker;
    const char *text;
    int value;
};

class Pickers : public PreferencesWindowTest, public testing::WithParamInterface<PickerCase>
{
};

TEST_P(Pickers, StoreTheChoicesValue)
{
    choose(QString::fromLatin1(GetParam().picker), QString::fromUtf8(GetParam().text));
    const int stored = QString::fromLatin1(GetParam().picker) == u"resetPicker"
                           ? state().resetFiltersAfterSeconds()
                           : state().historyLimit();
    EXPECT_EQ(stored, GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Preferences, Pickers,
                         testing::Values(PickerCase{"resetPicker", "Never", 0},
                                         PickerCase{"resetPicker", "After 30 seconds", 30},
                                         PickerCase{"resetPicker", "After 1 minute", 60},
                                         PickerCase{"resetPicker", "After 5 minutes", 300},
                                         PickerCase{"historyPicker", "20 Clippings", 20},
                                         PickerCase{"historyPicker", "1,000 Clippings", 1000},
                                         PickerCase{"historyPicker", "10,000 Clippings", 10000}),
                         [](const auto &info) {
                             std::string name =
                                 std::string(info.param.picker) + std::to_string(info.param.value);
                             return name;
                         });

TEST_F(PreferencesWindowTest, ControlsFollowChangesMadeElsewhere)
{
    window();
    state().setAppearancePreference(AppearancePreference::System);
    state().setResetFiltersAfterSeconds(60);
    state().setIgnorePasswords(true);
    EXPECT_TRUE(child<QAbstractButton>(QStringLiteral("appearanceSystem")).isChecked());
    EXPECT_FALSE(child<QAbstractButton>(QStringLiteral("appearanceDark")).isChecked());
    EXPECT_EQ(child<QComboBox>(QStringLiteral("resetPicker")).currentText(), u"After 1 minute");
    EXPECT_TRUE(child<QCheckBox>(QStringLiteral("ignorePasswords")).isChecked());
    // A value no choice holds shows no choice rather than a wrong one.
    state().setResetFiltersAfterSeconds(45);
    EXPECT_EQ(child<QComboBox>(QStringLiteral("resetPicker")).currentIndex(), -1);
}

// A desktop shortcut that counts what the panel asked of it.
class CountingShortcut final : public DesktopShortcut
{
public:
    bool isAvailable() const override { return true; }
    bool isAdded() const override { return m_added; }
    bool add() override
    {
        ++adds;
        m_added = true;
        return true;
    }
    bool remove() override
    {
        ++removals;
        m_added = false;
        return true;
    }
    int adds = 0;
    int removals = 0;

private:
    bool m_added = false;
};

TEST_F(PreferencesWindowTest, TheDesktopShortcutIsAddedOnlyOnRequestAndOnce)
{
    CountingShortcut shortcut;
    window().setHotKeyHelp(new HotKeyBindingPanel(shortcut, QStringLiteral("GNOME")));
    auto &add = child<QAbstractButton>(QStringLiteral("addShortcut"));
    auto &remove = child<QAbstractButton>(QStringLiteral("removeShortcut"));
    EXPECT_EQ(add.text(), QStringLiteral("Add Ctrl+Alt+V to GNOME's keyboard shortcuts"));
    EXPECT_EQ(shortcut.adds, 0);
    EXPECT_TRUE(remove.isHidden());

    QTest::mouseClick(&add, Qt::LeftButton);
    EXPECT_EQ(shortcut.adds, 1);
    // Nothing left to press twice: only the way back is offered.
    EXPECT_TRUE(add.isHidden());
    EXPECT_FALSE(remove.isHidden());

    QTest::mouseClick(&remove, Qt::LeftButton);
    EXPECT_EQ(shortcut.removals, 1);
    EXPECT_FALSE(add.isHidden());
}

TEST_F(PreferencesWindowTest, ClearingKeepsFavourites)
{
    state().resetToShowcaseData();
    state().toggleFavorite(state().items().at(2));
    state().setSelectedPreferencesTab(PreferencesTab::Security);
    click(QStringLiteral("clearHistory"));
    ASSERT_FALSE(state().items().isEmpty());
    for (const ClippingItem &item : state().items())
        EXPECT_TRUE(item.isFavorite || !item.collectionIDs.isEmpty());
    click(QStringLiteral("restoreDemo"));
    EXPECT_GT(state().items().size(), 3);
}

TEST_F(PreferencesWindowTest, SelectedTabSurvivesClosing)
{
    window().present();
    EXPECT_EQ(window().findChild<QStackedWidget *>()->currentIndex(), 0);
    click(QStringLiteral("tabShortcuts"));
    EXPECT_EQ(state().selectedPreferencesTab(), PreferencesTab::Shortcuts);
    window().close();
    window().present();
    EXPECT_EQ(window().findChild<QStackedWidget *>()->currentIndex(), 2);
    EXPECT_TRUE(child<QAbstractButton>(QStringLiteral("tabShortcuts")).isChecked());
}

TEST_F(PreferencesWindowTest, ShortcutsPageListsFifteenRowsWithThisDesktopsKeyNames)
{
    QStringList keys;
    for (const QLabel *label : window().findChildren<QLabel *>(QStringLiteral("keys")))
        keys.append(label->text());
    ASSERT_EQ(keys.size(), 15);
    EXPECT_EQ(keys.first(),
              QKeySequence(QStringLiteral("Ctrl+Alt+V")).toString(QKeySequence::NativeText));
    for (const QString &text : keys)
        EXPECT_FALSE(text.contains(u'⌘') || text.contains(u'⌥')) << qPrintable(text);
}

TEST_F(PreferencesWindowTest, WindowIsTitledAndSized)
{
    EXPECT_EQ(window().windowTitle(), u"Quillstash Preferences");
    EXPECT_EQ(window().size(), QSize(560, 420));
}

// The real autostart entry in a private configuration folder.
TEST(StartAtLogin, ToggleWritesAndRemovesTheAutostartEntry)
{
    ScratchDirectory directory;
    const QString path = directory.filePath(QStringLiteral("autostart/quillstash.desktop"));
    XdgAutostartEntry entry(path, QStringLiteral("quillstash --background"));
    MemorySettingsStore settings;
    FakePasteboard pasteboard;
    FakeClock clock;
    FakeFrontApplication front;
    FakeWorkspace workspace;
    FakeHttpClient http;
    ClipboardManagerState state(
        {settings, pasteboard, clock, front, workspace, http, directory.path()});
    PreferencesWindow window(state, entry);
    window.show();
    auto *toggle = window.findChild<QCheckBox *>(QStringLiteral("startAtLogin"));
    ASSERT_NE(toggle, nullptr);
    EXPECT_FALSE(toggle->isChecked());

    clickToggle(toggle);
    ASSERT_TRUE(QFile::exists(path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("\nExec=quillstash --background\n"));
    file.close();
    if (const QString validator =
            QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
        !validator.isEmpty()) {
        QProcess process;
        process.start(validator, {path});
        ASSERT_TRUE(process.waitForFinished(10000));
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardOutput().toStdString();
    }

    clickToggle(toggle);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_FALSE(toggle->isChecked());

    // The toggle reads the entry each time the window shows: it tells what the desktop does.
    entry.setEnabled(true);
    window.hide();
    window.show();
    EXPECT_TRUE(toggle->isChecked());
}

TEST_F(PreferencesWindowTest, ToggleShowsTheTruthWhenTheEntryCannotBeWritten)
{
    m_loginItem.setFailsWrites(true);
    auto &toggle = child<QCheckBox>(QStringLiteral("startAtLogin"));
    clickToggle(&toggle);
    EXPECT_FALSE(toggle.isChecked());
}

// Squeezed rows lose their descenders: every control keeps at least its minimum height and
// stays inside its page (a scrolled page: inside what it scrolls).
TEST_F(PreferencesWindowTest, EveryControlFitsItsPageOnEveryTabInBothAppearances)
{
    window().show();
    for (const AppearancePreference appearance :
         {AppearancePreference::Dark, AppearancePreference::Light}) {
        state().setAppearancePreference(appearance);
        for (const PreferencesTab tab : allPreferencesTabs) {
            state().setSelectedPreferencesTab(tab);
            QCoreApplication::processEvents();
            QWidget *page = child<QStackedWidget>(QStringLiteral("pages")).currentWidget();
            if (auto *scroll = qobject_cast<QScrollArea *>(page))
                page = scroll->widget();
            const QList<QWidget *> controls = page->findChildren<QWidget *>();
            int checked = 0;
            for (QWidget *control : controls) {
                if (!control->isVisibleTo(page) ||
                    !(qobject_cast<QAbstractButton *>(control) ||
                      qobject_cast<QComboBox *>(control) || qobject_cast<QLabel *>(control)))
                    continue;
                ++checked;
                const QString where = rawValue(appearance) + u' ' + rawValue(tab) + u' ' +
                                      control->metaObject()->className() + u' ' +
                                      control->objectName();
                EXPECT_GE(control->height(), control->minimumSizeHint().height())
                    << qPrintable(where);
                const QRect inPage(control->mapTo(page, QPoint()), control->size());
                EXPECT_TRUE(page->rect().contains(inPage))
                    << qPrintable(where) << " at " << inPage.y() << "+" << inPage.height() << " in "
                    << page->height();
            }
            EXPECT_GT(checked, 5) << qPrintable(rawValue(tab));
        }
    }
}

// Pictures of every page in both appearances, for looking at after a run.
TEST_F(PreferencesWindowTest, RendersEveryPage)
{
    QDir().mkpath(QStringLiteral(PREFERENCES_PICTURE_DIR));
    for (const AppearancePreference appearance :
         {AppearancePreference::Dark, AppearancePreference::Light}) {
        state().setAppearancePreference(appearance);
        for (const PreferencesTab tab : allPreferencesTabs) {
            state().setSelectedPreferencesTab(tab);
            const QImage image = window().grab().toImage();
            EXPECT_EQ(image.size() / image.devicePixelRatio(), QSize(560, 420));
            image.save(QStringLiteral(PREFERENCES_PICTURE_DIR "/%1-%2.png")
                           .arg(rawValue(appearance), rawValue(tab).section(u' ', 0, 0)));
        }
    }
}

} // namespace
