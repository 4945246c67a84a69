#include "boardfixture.h"
#include "cardsamples.h"
#include "views/board/cardgridview.h"
#include "views/board/layoutpreset.h"
#include "views/board/previewtext.h"
#include "views/board/quicklookview.h"
#include "views/board/sidebarview.h"
#include "views/cards/clippingfacts.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>

namespace
{

class MainBoardViewTest : public BoardFixture
{
};

TEST_F(MainBoardViewTest, Pictures)
{
    makeBoard(0);
    state().seedShowcaseItems();
    for (const bool dark : {true, false}) {
        state().setAppearancePreference(dark ? AppearancePreference::Dark
                                             : AppearancePreference::Light);
        MainBoardView &view = makeView();
        const QImage picture = view.grab().toImage();
        EXPECT_TRUE(picture.save(pictureDirectory() + (dark ? QStringLiteral("/board-dark.png")
                                                            : QStringLiteral("/board-light.png"))));
    }
    state().setQuickLookItem(state().items().first());
    EXPECT_TRUE(m_view->grab().toImage().save(pictureDirectory() +
                                              QStringLiteral("/board-quicklook-light.png")));
}

struct PresetCase {
    int rows;
    int columns;
    std::optional<LayoutPreset::Kind> active;
};

void PrintTo(const PresetCase &c, std::ostream *os)
{
    *os << c.rows << "x" << c.columns;
}

class LayoutPresetTest : public testing::TestWithParam<PresetCase>
{
};

TEST_P(LayoutPresetTest, OnlyTheMatchingPresetIsActive)
{
    const PresetCase &c = GetParam();
    for (const LayoutPreset &preset : LayoutPreset::all())
        EXPECT_EQ(preset.isActive(c.rows, c.columns), c.active == preset.kind)
            << preset.label().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Grids, LayoutPresetTest,
                         testing::Values(PresetCase{3, 3, LayoutPreset::Kind::Grid},
                                         PresetCase{4, 4, LayoutPreset::Kind::Dense},
                                         PresetCase{6, 1, LayoutPreset::Kind::List},
                                         PresetCase{2, 1, LayoutPreset::Kind::List},
                                         PresetCase{5, 5, std::nullopt},
                                         PresetCase{3, 4, std::nullopt}));

TEST_F(MainBoardViewTest, PresetButtonsSetRowsAndColumns)
{
    makeBoard(3);
    MainBoardView &view = makeView();
    auto *presets = view.findChild<QWidget *>(QStringLiteral("layoutPresets"));
    ASSERT_NE(presets, nullptr);
    const QList<QAbstractButton *> buttons = presets->findChildren<QAbstractButton *>();
    ASSERT_EQ(buttons.size(), 3);
    QTest::mouseClick(buttons[2], Qt::LeftButton);
    EXPECT_EQ(state().gridRows(), 6);
    EXPECT_EQ(state().gridColumns(), 1);
    QTest::mouseClick(buttons[1], Qt::LeftButton);
    EXPECT_EQ(state().gridRows(), 4);
    EXPECT_EQ(state().gridColumns(), 4);
}

TEST_F(MainBoardViewTest, ClearButtonFollowsTheSearchText)
{
    makeBoard(3);
    MainBoardView &view = makeView();
    auto *clear = view.findChild<QWidget *>(QStringLiteral("clearSearch"));
    ASSERT_NE(clear, nullptr);
    EXPECT_FALSE(clear->isVisible());
    QTest::keyClicks(view.searchField(), QStringLiteral("C"));
    EXPECT_EQ(state().searchText(), QStringLiteral("C"));
    EXPECT_TRUE(clear->isVisible());
    QTest::mouseClick(static_cast<QAbstractButton *>(clear), Qt::LeftButton);
    EXPECT_TRUE(state().searchText().isEmpty());
    EXPECT_TRUE(view.searchField()->text().isEmpty());
    EXPECT_FALSE(clear->isVisible());
}

TEST_F(MainBoardViewTest, TypingASearchKeepsAVisibleSelection)
{
    makeBoard(12);
    MainBoardView &view = makeView();
    state().setSelectedItemID(state().items().last().id); // "Clipping 11"
    QTest::keyClicks(view.searchField(), QStringLiteral("Clipping 3"));
    ASSERT_EQ(state().visibleItemCount(), 1);
    EXPECT_EQ(state().selectedItemID(), state().visibleItem(0).id);
}

TEST_F(MainBoardViewTest, ToastReplacesTheSummaryForItsLifetime)
{
    makeBoard(12);
    MainBoardView &view = makeView();
    EXPECT_EQ(view.statusText(), QStringLiteral("12 items • 3×3 board"));
    state().showToast(QStringLiteral("Copied"));
    EXPECT_EQ(view.statusText(), QStringLiteral("Copied"));
    m_clock.advance(2);
    QTest::qWait(1700);
    EXPECT_EQ(view.statusText(), QStringLiteral("12 items • 3×3 board"));
}

TEST_F(MainBoardViewTest, TheSummaryCountsInTheNumbersForm)
{
    makeBoard(2);
    MainBoardView &view = makeView();
    const std::pair<const char *, const char *> cases[]{
        {"", "2 items • 3×3 board"},
        {"Clipping 1", "1 item • 3×3 board"},
        {"nothing like this", "0 items • 3×3 board"},
    };
    for (const auto &[search, summary] : cases) {
        state().setSearchText(QString::fromUtf8(search));
        EXPECT_EQ(view.statusText(), QString::fromUtf8(summary)) << search;
    }
}

TEST_F(MainBoardViewTest, EmptyListShowsTheEmptyState)
{
    makeBoard(2);
    MainBoardView &view = makeView();
    EXPECT_FALSE(view.showsEmptyState());
    state().setSearchText(QStringLiteral("nothing like this"));
    EXPECT_TRUE(view.showsEmptyState());
    EXPECT_TRUE(view.statusText().startsWith(QStringLiteral("0 items")));
}

TEST_F(MainBoardViewTest, HidingTheSidebarWidensTheCards)
{
    makeBoard(9);
    MainBoardView &view = makeView();
    QApplication::processEvents();
    const double before = view.grid()->geometry().cardSize.width();
    state().setIsSidebarVisible(false);
    QApplication::processEvents();
    EXPECT_FALSE(view.sidebar()->isVisible());
    const double after = view.grid()->geometry().cardSize.width();
    // The sidebar and its divider: 193 points shared by three columns.
    EXPECT_NEAR(after - before, 193.0 / 3, 0.5);
}

TEST_F(MainBoardViewTest, TypingWithoutFocusStartsASearch)
{
    makeBoard(3);
    MainBoardView &view = makeView();
    QKeyEvent letter(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    EXPECT_TRUE(view.typeToSearch(&letter));
    EXPECT_EQ(state().searchText(), QStringLiteral("x"));
    QKeyEvent withControl(QEvent::KeyPress, Qt::Key_Y, Qt::ControlModifier, QStringLiteral("y"));
    QKeyEvent withAlt(QEvent::KeyPress, Qt::Key_Y, Qt::AltModifier, QStringLiteral("y"));
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QKeyEvent arrow(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
    for (QKeyEvent *key : {&withControl, &withAlt, &space, &arrow})
        EXPECT_FALSE(view.typeToSearch(key));
    EXPECT_EQ(state().searchText(), QStringLiteral("x"));
    QKeyEvent find(QEvent::KeyPress, Qt::Key_F, Qt::ControlModifier);
    view.searchField()->clearFocus();
    EXPECT_TRUE(view.typeToSearch(&find));
}

class QuickLookTest : public BoardFixture
{
};

TEST_F(QuickLookTest, PanelKeepsItsSizeAndTheBackdropCloses)
{
    makeBoard(2);
    for (const QSize size : {QSize(960, 600), QSize(580, 380), QSize(1400, 900)}) {
        MainBoardView &view = makeView(size);
        state().setQuickLookItem(state().items().first());
        QuickLookView *preview = view.quickLook();
        ASSERT_TRUE(preview->isVisible());
        EXPECT_EQ(preview->panelGeometry().size(), QuickLookView::panelSize);
        EXPECT_EQ(preview->panelGeometry().center(), view.rect().center());
        // The backdrop dims the board around the panel.
        const QImage dimmed = view.grab().toImage();
        state().setQuickLookItem(std::nullopt);
        const QImage plain = view.grab().toImage();
        EXPECT_LT(qGray(dimmed.pixel(3, size.height() / 2)),
                  qGray(plain.pixel(3, size.height() / 2)));
        state().setQuickLookItem(state().items().first());
        QTest::mouseClick(preview, Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_FALSE(state().quickLookItem());
        EXPECT_FALSE(preview->isVisible());
    }
}

TEST_F(QuickLookTest, SecretFollowsAltLive)
{
    makeBoard(0, {secretClipping(QStringLiteral("hunter2"))});
    MainBoardView &view = makeView();
    state().setQuickLookItem(state().items().first());
    QuickLookView *preview = view.quickLook();
    EXPECT_FALSE(preview->shownText().contains(QStringLiteral("hunter2")));
    EXPECT_TRUE(preview->hintText().startsWith(QStringLiteral("Hold Alt")));
    state().setIsHoldingOptionKey(true);
    EXPECT_EQ(preview->shownText(), QStringLiteral("hunter2"));
    EXPECT_TRUE(preview->hintText().startsWith(QStringLiteral("Press Space")));
    // Revealed but not selectable: a selection would reach the primary selection unmarked.
    auto *text = preview->findChild<QPlainTextEdit *>(QStringLiteral("quickLookText"));
    ASSERT_TRUE(text);
    EXPECT_EQ(text->textInteractionFlags(), Qt::NoTextInteraction);
}

// Long lines are shown in pieces and the text arrives over several turns: all of it must become
// reachable, and a selection must give back the clipping's own characters.
TEST_F(QuickLookTest, LongTextArrivesWhole)
{
    const QString pair = QStringLiteral("\U0001F600");
    const QList<QString> texts{
        QString(5000, u'x'),
        QString(2047, u'y') + pair + QString(3000, u'z'),
        QStringLiteral("word ").repeated(2000),
        QStringLiteral("one\r\ntwo\rthree\n\n").repeated(3000),
        QStringLiteral("line\n").repeated(5000),
        // Counted off the GUI thread.
        QStringLiteral("ab ").repeated(70000),
    };
    QList<ClippingItem> items;
    for (const QString &text : texts)
        items.append(ClippingItem::make({.type = ClippingType::Text, .textContent = text}));
    makeBoard(0, items);
    MainBoardView &view = makeView();
    for (const ClippingItem &item : state().items()) {
        state().setQuickLookItem(item);
        auto *text = view.quickLook()->findChild<PreviewText *>(QStringLiteral("quickLookText"));
        ASSERT_TRUE(text);
        EXPECT_TRUE(QTest::qWaitFor([&] { return text->isComplete(); }));
        text->selectAll();
        EXPECT_EQ(text->selectedText(), item.textContent);
        EXPECT_LE(text->document()->findBlockByNumber(0).length(), 2049);
        auto *footer = view.quickLook()->findChild<QLabel *>(QStringLiteral("quickLookMetadata"));
        ASSERT_TRUE(footer);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return footer->text() == ClippingFacts::compute(item).footerMetadataText; }));
        state().setQuickLookItem(std::nullopt);
    }
}

// Decoded to the panel's size: a large image still fills the picture's middle, and data that is
// not an image leaves the checkerboard.
TEST_F(QuickLookTest, ImageIsShownAtThePanelsSize)
{
    QImage wide(4000, 1000, QImage::Format_RGB32);
    wide.fill(Qt::red);
    ClippingItem image = ClippingItem::make({.type = ClippingType::Image});
    image.imageData = pngBytes(wide);
    ClippingItem garbage = ClippingItem::make({.type = ClippingType::Image});
    garbage.imageData = QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(10000, '\x13');
    makeBoard(0, {image, garbage});
    MainBoardView &view = makeView();
    for (const ClippingItem &item : state().items()) {
        state().setQuickLookItem(item);
        const QImage shown = view.grab().toImage();
        const QPoint middle = view.quickLook()->panelGeometry().center();
        EXPECT_EQ(shown.pixelColor(middle) == QColor(Qt::red), item.id == image.id);
        state().setQuickLookItem(std::nullopt);
    }
}

TEST_F(QuickLookTest, PasteClosesBeforeActivating)
{
    makeBoard(2);
    MainBoardView &view = makeView();
    bool closedWhenPasted = false;
    state().onRequestHideWindowAndPaste = [&](const ClippingItem &, bool) {
        closedWhenPasted = !state().quickLookItem().has_value();
    };
    state().setQuickLookItem(state().items().first());
    auto *paste = view.quickLook()->findChild<QAbstractButton *>(QStringLiteral("quickLookPaste"));
    ASSERT_NE(paste, nullptr);
    QTest::mouseClick(paste, Qt::LeftButton);
    EXPECT_TRUE(closedWhenPasted);
    EXPECT_EQ(m_pasteboard.string(), QStringLiteral("Clipping 0"));
}

TEST_F(QuickLookTest, CloseButtonCloses)
{
    makeBoard(1);
    MainBoardView &view = makeView();
    state().setQuickLookItem(state().items().first());
    auto *close = view.quickLook()->findChild<QAbstractButton *>(QStringLiteral("quickLookClose"));
    ASSERT_NE(close, nullptr);
    QTest::mouseClick(close, Qt::LeftButton);
    EXPECT_FALSE(state().quickLookItem());
}

} // namespace
