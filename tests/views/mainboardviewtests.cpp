#include "boardfixture.h"
#include "views/cardgridview.h"

#include <QLineEdit>
#include <QTest>
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
}

} // namespace
