#include "cardsamples.h"
#include "statefixture.h"
#include "views/cards/clippingcard.h"
#include "views/cards/filepicture.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace
{

class CardActionTest : public StateFixture
{
protected:
    void SetUp() override
    {
        makeState();
        state().insertNewItem(textClipping(QStringLiteral("first line\nsecond line")));
        m_item = state().items().first();
        state().insertNewItem(textClipping(QStringLiteral("newer")));
    }
    ClippingItem current() const
    {
        for (const ClippingItem &item : m_state->items())
            if (item.id == m_item.id)
                return item;
        return {};
    }

    ClippingItem m_item;
};

} // namespace

TEST_F(CardActionTest, ButtonsRunTheirOperationAndTheBodySelects)
{
    using Part = CardLayout::Part;
    ClippingCard::click(state(), m_item, Part::FavoriteButton);
    EXPECT_TRUE(current().isFavorite);
    ClippingCard::click(state(), current(), Part::MaskButton);
    EXPECT_TRUE(state().isTextMasked(current()));
    const int writes = m_pasteboard.writes();
    ClippingCard::click(state(), current(), Part::CopyButton);
    EXPECT_GT(m_pasteboard.writes(), writes);
    EXPECT_NE(state().selectedItemID(), m_item.id);

    for (const Part part : {Part::Header, Part::Content, Part::Footer}) {
        state().setSelectedItemID(std::nullopt);
        ClippingCard::click(state(), current(), part);
        EXPECT_EQ(state().selectedItemID(), m_item.id);
    }
    state().setSelectedItemID(std::nullopt);
    ClippingCard::click(state(), current(), Part::Outside);
    EXPECT_FALSE(state().selectedItemID());
}

TEST_F(CardActionTest, DoubleClickSelectsAndActivates)
{
    std::optional<QUuid> activated;
    state().onRequestHideWindowAndPaste = [&](const ClippingItem &item, bool) {
        activated = item.id;
    };
    ClippingCard::doubleClick(state(), m_item);
    EXPECT_EQ(state().selectedItemID(), m_item.id);
    EXPECT_EQ(activated, m_item.id);
}

TEST_F(CardActionTest, AccessibleNameAndDragText)
{
    EXPECT_EQ(ClippingCard::accessibleName(m_item, false),
              QStringLiteral("TEXT from Text Editor: first line"));
    const ClippingItem secret = secretClipping(QStringLiteral("my password"));
    const QString masked = ClippingCard::accessibleName(secret, true);
    EXPECT_FALSE(masked.contains(QStringLiteral("password")));
    EXPECT_TRUE(masked.startsWith(QStringLiteral("SECRET from")));
    EXPECT_EQ(ClippingCard::dragText(m_item), m_item.id.toString(QUuid::WithoutBraces).toUpper());
    EXPECT_EQ(ClippingCard::dragText(m_item).size(), 36);
}

TEST(FilePictureTest, InstalledIconOnlyForAnExistingFileThatIsNotADesignDocument)
{
    ScratchDirectory folder;
    for (const char *name : {"notes.txt", "Design.SKETCH"}) {
        QFile file(folder.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    ClippingItem item = textClipping(QStringLiteral("notes.txt"));
    item.type = ClippingType::File;
    item.fileName = QStringLiteral("notes.txt");
    item.filePath = folder.path();
    EXPECT_TRUE(FilePicture::usesInstalledIcon(item));
    EXPECT_FALSE(FilePicture::picture(item, QSize(64, 76)).isNull());
    item.fileName = QStringLiteral("Design.SKETCH");
    EXPECT_FALSE(FilePicture::usesInstalledIcon(item));
    item.fileName = QStringLiteral("missing.txt");
    EXPECT_FALSE(FilePicture::usesInstalledIcon(item));
    EXPECT_FALSE(FilePicture::picture(item, QSize(64, 76)).isNull());
    item.filePath.reset();
    EXPECT_FALSE(FilePicture::usesInstalledIcon(item));
}
