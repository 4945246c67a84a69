#include "statefixture.h"

#include <QTest>

namespace
{

class ToastTest : public StateFixture
{
};

TEST_F(ToastTest, ANewerToastIsNotClearedByTheOlderTimer)
{
    ClipboardManagerState &state = makeState();
    state.showToast(QStringLiteral("A"));
    QTest::qWait(800);
    state.showToast(QStringLiteral("B"));
    EXPECT_EQ(state.statusToastMessage(), QStringLiteral("B"));
    QTest::qWait(1100); // A's timer has fired by now
    EXPECT_EQ(state.statusToastMessage(), QStringLiteral("B"));
    QTest::qWait(700);
    EXPECT_FALSE(state.statusToastMessage());
}

TEST_F(ToastTest, TheSameTextTwiceIsClearedByTheFirstTimer)
{
    ClipboardManagerState &state = makeState();
    state.showToast(QStringLiteral("Copied to Clipboard"));
    QTest::qWait(1000);
    state.showToast(QStringLiteral("Copied to Clipboard"));
    QTest::qWait(800);
    EXPECT_FALSE(state.statusToastMessage()) << "the first call's timer clears the shared text";
}

} // namespace
