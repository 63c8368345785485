// Image buttons: push and toggle behaviour, groups, mouse notifications, and
// which picture they show; the transport pictures.
#include "widgets/ImageButton.h"
#include "widgets/TransportGlyphs.h"

#include "tests/widgets/RenderedImage.h"

#include <QApplication>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace harmonet {
namespace {

class ImageButtons : public ::testing::Test {
protected:
    TImageButton* button(int group, bool allowAllUp)
    {
        auto* b = new TImageButton(&parent);
        b->setGroupIndex(group);
        b->setAllowAllUp(allowAllUp);
        return b;
    }

    // "down", "up" and "click" as the button reports them.
    static void recordPresses(TImageButton* b, QStringList& order)
    {
        QObject::connect(b, &TImageButton::mouseDown, [&order] { order << "down"; });
        QObject::connect(b, &TImageButton::mouseUp, [&order] { order << "up"; });
        QObject::connect(b, &TImageButton::clicked, [&order] { order << "click"; });
    }

    QWidget parent;
};

TEST_F(ImageButtons, PlainPushButtonLooksPressedOnlyWhileHeldAndNeverStaysDown)
{
    TImageButton* push = button(0, false);
    QSignalSpy clicks(push, &TImageButton::clicked);
    push->setDown(true);
    EXPECT_FALSE(push->isDown());
    QTest::mousePress(push, Qt::LeftButton);
    EXPECT_TRUE(push->looksPressed());
    QTest::mouseRelease(push, Qt::LeftButton);
    EXPECT_FALSE(push->looksPressed());
    EXPECT_EQ(clicks.count(), 1);

    push->setEnabled(false);
    QTest::mouseClick(push, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 1) << "a disabled button does not click";
}

TEST_F(ImageButtons, ReleaseIsReportedBeforeTheClickAndOnlyALeftReleaseInsideClicks)
{
    TImageButton* toggle = button(1, true);
    toggle->resize(28, 25);
    QStringList order;
    recordPresses(toggle, order);

    QTest::mouseClick(toggle, Qt::LeftButton);
    QTest::mousePress(toggle, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(toggle, Qt::LeftButton, {}, QPoint(40, 5));
    QTest::mouseClick(toggle, Qt::RightButton);
    EXPECT_EQ(order, (QStringList{"down", "up", "click", "down", "up", "down", "up"}));
    EXPECT_TRUE(toggle->isDown());
}

TEST_F(ImageButtons, SpaceAndEnterPressAsTheLeftButtonDoes)
{
    TImageButton* toggle = button(1, true);
    toggle->resize(28, 25);
    QStringList order;
    recordPresses(toggle, order);

    QTest::keyPress(toggle, Qt::Key_Space);
    EXPECT_TRUE(toggle->looksPressed()) << "held down while the key is";
    // A held key repeats its press.
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QString(" "), true);
    QApplication::sendEvent(toggle, &repeat);
    QTest::keyRelease(toggle, Qt::Key_Space);
    EXPECT_TRUE(toggle->isDown());
    QTest::keyClick(toggle, Qt::Key_Return);
    EXPECT_FALSE(toggle->isDown());
    QTest::keyClick(toggle, Qt::Key_A);
    EXPECT_EQ(order, (QStringList{"down", "up", "click", "down", "up", "click"}));

    // Losing the focus with the key held lets go without a click.
    order.clear();
    parent.show();
    parent.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&parent));
    toggle->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(toggle->hasFocus());
    QTest::keyPress(toggle, Qt::Key_Enter);
    toggle->clearFocus();
    EXPECT_EQ(order, (QStringList{"down", "up"}));
    EXPECT_FALSE(toggle->looksPressed());

    toggle->setEnabled(false);
    QTest::keyClick(toggle, Qt::Key_Space);
    EXPECT_EQ(order, (QStringList{"down", "up"})) << "a disabled button takes no key";
}

TEST_F(ImageButtons, ClicksToggleButOnlyAReleasableButtonGoesBackUp)
{
    TImageButton* releasable = button(1, true);
    TImageButton* sticky = button(2, false);
    QSignalSpy clicks(sticky, &TImageButton::clicked);
    QTest::mouseClick(releasable, Qt::LeftButton);
    EXPECT_TRUE(releasable->isDown());
    QTest::mouseClick(releasable, Qt::LeftButton);
    EXPECT_FALSE(releasable->isDown());

    QTest::mouseClick(sticky, Qt::LeftButton);
    QTest::mouseClick(sticky, Qt::LeftButton);
    sticky->setDown(false);
    EXPECT_TRUE(sticky->isDown());
    EXPECT_EQ(clicks.count(), 2) << "the click is reported even when the state stays";

    // From code the state changes without a click.
    QSignalSpy releasableClicks(releasable, &TImageButton::clicked);
    releasable->setDown(true);
    EXPECT_TRUE(releasable->isDown());
    EXPECT_EQ(releasableClicks.count(), 0);
}

TEST_F(ImageButtons, OneButtonDownPerGroupAndParentAndTheGroupSharesAllowAllUp)
{
    TImageButton* a = button(1, true);
    TImageButton* b = button(1, true);
    TImageButton* otherGroup = button(2, true);
    QWidget elsewhere;
    auto* otherParent = new TImageButton(&elsewhere);
    otherParent->setGroupIndex(1);

    a->setDown(true);
    otherGroup->setDown(true);
    otherParent->setDown(true);
    QTest::mouseClick(b, Qt::LeftButton);
    EXPECT_TRUE(b->isDown());
    EXPECT_FALSE(a->isDown());
    EXPECT_TRUE(otherGroup->isDown());
    EXPECT_TRUE(otherParent->isDown());

    a->setAllowAllUp(false);
    EXPECT_FALSE(b->allowAllUp());
    EXPECT_TRUE(otherGroup->allowAllUp());
}

TEST_F(ImageButtons, StripShowsItsSecondPictureWhileDisabled)
{
    TImageButton* b = button(0, false);
    b->setGlyph(glyphs::fastForward(true));
    b->setNumGlyphs(2);
    EXPECT_EQ(b->shownPicture().size(), QSize(15, 12));
    EXPECT_EQ(b->shownPicture().toImage().pixel(4, 6), qRgb(0, 255, 0));
    b->setEnabled(false);
    EXPECT_EQ(b->shownPicture().toImage().pixel(4, 6), qRgb(128, 128, 128));
    // A single picture is greyed instead.
    b->setNumGlyphs(1);
    EXPECT_EQ(b->shownPicture().size(), QSize(30, 12));
    EXPECT_NE(b->shownPicture().toImage().pixel(4, 6), qRgb(0, 255, 0));
}

TEST_F(ImageButtons, PictureIsCentredAndMovesOnePixelWhenDown)
{
    TImageButton* b = button(1, true);
    b->resize(28, 25);
    b->setFlat(true);
    b->setAutoFillBackground(true);
    b->setGlyph(glyphs::stop(true));
    const QColor background = parent.palette().color(QPalette::Window);

    // The 16 x 16 picture sits at (6, 4); its square covers (3, 3) to (12, 12) of it.
    EXPECT_EQ(test::inkBounds(test::renderWidget(*b), QRect(2, 2, 24, 21), background), QRect(9, 7, 10, 10));
    b->setDown(true);
    const QImage down = test::renderWidget(*b);
    EXPECT_EQ(down.pixel(19, 17), qRgb(255, 0, 0));
    EXPECT_NE(down.pixel(9, 7), qRgb(255, 0, 0));
}

// The number of opaque pixels in a column (or a row) of a picture.
int ink(const QPixmap& picture, int column, int row)
{
    const QImage image = picture.toImage();
    int count = 0;
    for (int i = 0; i < (column >= 0 ? image.height() : image.width()); ++i) {
        count += image.pixelColor(column >= 0 ? column : i, column >= 0 ? i : row).alpha() > 0 ? 1 : 0;
    }
    return count;
}

TEST(TransportGlyphs, SizesOnAndOffColoursAndDirections)
{
    EXPECT_EQ(glyphs::play(false).toImage().pixel(3, 9), qRgb(0, 128, 128));
    EXPECT_EQ(glyphs::play(true).toImage().pixel(3, 9), qRgb(0, 255, 0));
    EXPECT_EQ(glyphs::play(true).size(), QSize(11, 18));
    EXPECT_EQ(glyphs::pause(true).toImage().pixel(4, 8), qRgb(255, 255, 0));
    EXPECT_EQ(glyphs::stop(false).toImage().pixel(8, 8), qRgb(128, 0, 0));
    EXPECT_EQ(glyphs::rewind(false).toImage().pixel(6, 6), qRgb(0, 0, 0));
    EXPECT_EQ(glyphs::rewind(true).size(), QSize(30, 12));
    EXPECT_EQ(glyphs::countArrow(true).size(), QSize(9, 9));

    // An arrow head is broad at its base and narrow at its tip, in the
    // disabled picture of a strip as well.
    EXPECT_GT(ink(glyphs::fastForward(true), 1, 0), ink(glyphs::fastForward(true), 6, 0));
    EXPECT_GT(ink(glyphs::rewind(true), 13, 0), ink(glyphs::rewind(true), 8, 0));
    EXPECT_GT(ink(glyphs::rewind(true), 15 + 13, 0), ink(glyphs::rewind(true), 15 + 8, 0));
    EXPECT_LT(ink(glyphs::countArrow(true), -1, 2), ink(glyphs::countArrow(true), -1, 6));
    EXPECT_GT(ink(glyphs::countArrow(false), -1, 2), ink(glyphs::countArrow(false), -1, 6));
}

} // namespace
} // namespace harmonet
