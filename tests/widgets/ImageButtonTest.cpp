// Image buttons: push and toggle behaviour, groups, mouse notifications, and
// which picture they show.
#include "widgets/ImageButton.h"
#include "widgets/TransportGlyphs.h"

#include "tests/widgets/RenderInspection.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace harmonet {
namespace {

using test::inkBounds;
using test::renderWidget;

class ImageButtons : public ::testing::Test {
protected:
    // A toggle of the given group on the shared parent.
    TImageButton* toggle(int group, bool allowAllUp)
    {
        auto* button = new TImageButton(&parent);
        button->setGroupIndex(group);
        button->setAllowAllUp(allowAllUp);
        return button;
    }

    QWidget parent;
};

TEST_F(ImageButtons, PlainPushButtonClicksButNeverStaysDown)
{
    auto* button = new TImageButton(&parent);
    QSignalSpy clicks(button, &TImageButton::clicked);
    button->setDown(true);
    EXPECT_FALSE(button->isDown());

    QTest::mousePress(button, Qt::LeftButton);
    EXPECT_TRUE(button->looksPressed());
    QTest::mouseRelease(button, Qt::LeftButton);
    EXPECT_FALSE(button->looksPressed());
    EXPECT_FALSE(button->isDown());
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(ImageButtons, ReleaseReportsBeforeTheClickAndOutsideTheButtonIsNoClick)
{
    auto* button = toggle(1, true);
    button->resize(28, 25);
    QStringList order;
    QObject::connect(button, &TImageButton::mouseDown, [&] { order << "down"; });
    QObject::connect(button, &TImageButton::mouseUp, [&] { order << "up"; });
    QObject::connect(button, &TImageButton::clicked, [&] { order << "click"; });

    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(order, (QStringList{"down", "up", "click"}));

    order.clear();
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(40, 5));
    EXPECT_EQ(order, (QStringList{"down", "up"}));
    EXPECT_TRUE(button->isDown()) << "a release outside leaves the state alone";

    // Other mouse buttons are reported but neither click nor toggle.
    order.clear();
    QTest::mouseClick(button, Qt::RightButton);
    EXPECT_EQ(order, (QStringList{"down", "up"}));
    EXPECT_TRUE(button->isDown());
}

TEST_F(ImageButtons, ToggleThatMayBeReleasedGoesUpAndDownWithClicks)
{
    auto* button = toggle(2, true);
    QSignalSpy clicks(button, &TImageButton::clicked);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(button->isDown());
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_FALSE(button->isDown());
    EXPECT_EQ(clicks.count(), 2);
}

TEST_F(ImageButtons, ToggleThatMayNotBeReleasedStaysDownButStillClicks)
{
    auto* button = toggle(2, false);
    QSignalSpy clicks(button, &TImageButton::clicked);
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(button->isDown());
    button->setDown(false);
    EXPECT_TRUE(button->isDown());
    EXPECT_EQ(clicks.count(), 2);
}

TEST_F(ImageButtons, SettingDownFromCodeRaisesNoClick)
{
    auto* button = toggle(3, true);
    QSignalSpy clicks(button, &TImageButton::clicked);
    button->setDown(true);
    EXPECT_TRUE(button->isDown());
    button->setDown(false);
    EXPECT_FALSE(button->isDown());
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(ImageButtons, OneButtonDownPerGroupAndParent)
{
    auto* a = toggle(1, true);
    auto* b = toggle(1, true);
    auto* otherGroup = toggle(2, true);
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

    // A group shares AllowAllUp.
    a->setAllowAllUp(false);
    EXPECT_FALSE(b->allowAllUp());
    EXPECT_TRUE(otherGroup->allowAllUp());
}

TEST_F(ImageButtons, DisabledButtonIgnoresTheLeftButton)
{
    auto* button = toggle(1, true);
    button->setEnabled(false);
    QSignalSpy clicks(button, &TImageButton::clicked);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_FALSE(button->isDown());
}

TEST_F(ImageButtons, StripShowsItsSecondPictureWhileDisabled)
{
    auto* button = new TImageButton(&parent);
    button->setGlyph(glyphs::fastForward(true));
    button->setNumGlyphs(2);
    EXPECT_EQ(button->shownPicture().size(), QSize(15, 12));
    EXPECT_EQ(button->shownPicture().toImage().pixel(4, 6), qRgb(0, 255, 0));
    button->setEnabled(false);
    EXPECT_EQ(button->shownPicture().toImage().pixel(4, 6), qRgb(128, 128, 128));

    // A single picture is greyed by the style instead.
    button->setNumGlyphs(1);
    EXPECT_EQ(button->shownPicture().size(), QSize(30, 12));
    EXPECT_NE(button->shownPicture().toImage().pixel(4, 6), qRgb(0, 255, 0));
}

TEST_F(ImageButtons, PictureIsCentredAndMovesOnePixelWhenPressed)
{
    auto* button = toggle(1, true);
    button->resize(28, 25);
    button->setFlat(true);
    button->setGlyph(glyphs::stop(true));
    const QColor background = parent.palette().color(QPalette::Window);
    button->setAutoFillBackground(true);

    // The 16 x 16 picture sits at (6, 4); its square fills (3, 3) to (12, 12) of it.
    EXPECT_EQ(inkBounds(renderWidget(*button), QRect(2, 2, 24, 21), background),
              QRect(9, 7, 10, 10));
    button->setDown(true);
    const QImage pressed = renderWidget(*button);
    EXPECT_EQ(pressed.pixel(10, 8), qRgb(255, 0, 0));
    EXPECT_EQ(pressed.pixel(9, 7), pressed.pixel(9, 20)) << "the square moved right and down";
}

TEST(TransportGlyphs, SizesAndColoursOfTheOnAndOffPictures)
{
    EXPECT_EQ(glyphs::play(false).size(), QSize(11, 18));
    EXPECT_EQ(glyphs::play(false).toImage().pixel(3, 9), qRgb(0, 128, 128));
    EXPECT_EQ(glyphs::play(true).toImage().pixel(3, 9), qRgb(0, 255, 0));
    EXPECT_EQ(glyphs::pause(true).size(), QSize(16, 16));
    EXPECT_EQ(glyphs::pause(true).toImage().pixel(4, 8), qRgb(255, 255, 0));
    EXPECT_EQ(glyphs::pause(true).toImage().pixelColor(8, 8).alpha(), 0) << "gap between the bars";
    EXPECT_EQ(glyphs::stop(false).toImage().pixel(8, 8), qRgb(128, 0, 0));
    EXPECT_EQ(glyphs::stop(true).toImage().pixel(8, 8), qRgb(255, 0, 0));
    EXPECT_EQ(glyphs::rewind(false).size(), QSize(30, 12));
    EXPECT_EQ(glyphs::rewind(false).toImage().pixel(6, 6), qRgb(0, 0, 0));
    EXPECT_EQ(glyphs::rewind(true).toImage().pixel(6, 6), qRgb(0, 255, 0));
    EXPECT_EQ(glyphs::countArrow(true).size(), QSize(9, 9));
    EXPECT_EQ(glyphs::countArrow(true).toImage().pixelColor(0, 0).alpha(), 0);
}

// The number of opaque pixels in column x (or row y) of a picture.
int inkInColumn(const QImage& image, int x)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        count += image.pixelColor(x, y).alpha() > 0 ? 1 : 0;
    }
    return count;
}

int inkInRow(const QImage& image, int y)
{
    int count = 0;
    for (int x = 0; x < image.width(); ++x) {
        count += image.pixelColor(x, y).alpha() > 0 ? 1 : 0;
    }
    return count;
}

TEST(TransportGlyphs, ArrowsPointTheirWay)
{
    // An arrow head is broad at its base and narrow at its tip.
    const QImage forward = glyphs::fastForward(true).toImage();
    EXPECT_GT(inkInColumn(forward, 1), inkInColumn(forward, 6));
    const QImage rewind = glyphs::rewind(true).toImage();
    EXPECT_GT(inkInColumn(rewind, 13), inkInColumn(rewind, 8));
    // The disabled picture of a strip points the same way.
    EXPECT_GT(inkInColumn(rewind, 15 + 13), inkInColumn(rewind, 15 + 8));

    const QImage up = glyphs::countArrow(true).toImage();
    const QImage down = glyphs::countArrow(false).toImage();
    EXPECT_LT(inkInRow(up, 2), inkInRow(up, 6));
    EXPECT_GT(inkInRow(down, 2), inkInRow(down, 6));
}

} // namespace
} // namespace harmonet
