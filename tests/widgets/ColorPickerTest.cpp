// Colour pickers: the drop-down palette, the colour dialog, and when the
// choice is reported.
#include "widgets/ColorPalettePopup.h"
#include "widgets/ColorPicker.h"

#include <QApplication>
#include <QColorDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

namespace harmonet {
namespace {

// Runs work on the colour dialog as soon as it is shown modally.
void whenDialogOpens(std::function<void(QColorDialog&)> work)
{
    QTimer::singleShot(0, [work] {
        auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        work(*dialog);
    });
}

class ColorPickers : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.resize(200, 100);
        picker = new TColorPicker(&window);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    void clickCell(int index)
    {
        TColorPalettePopup* popup = picker->palettePopup();
        QTest::mouseClick(popup, Qt::LeftButton, {}, popup->cellRect(index).center());
    }

    QWidget window;
    TColorPicker* picker = nullptr;
};

TEST_F(ColorPickers, StartBlackWithWhiteCustomColoursAndPublishColorAsTColor)
{
    EXPECT_EQ(picker->color(), clBlack);
    for (TColor custom : picker->customColors()) {
        EXPECT_EQ(custom, clWhite);
    }
    const QMetaObject& meta = TColorPicker::staticMetaObject;
    EXPECT_EQ(meta.property(meta.indexOfProperty("Color")).metaType(), QMetaType::fromType<TColor>());
    ASSERT_TRUE(picker->setProperty("Color", QVariant::fromValue(clLime)));
    EXPECT_EQ(picker->color(), clLime);
}

TEST_F(ColorPickers, PaletteHoldsTheTwentyFixedColoursRowByRow)
{
    const auto& colors = TColorPalettePopup::paletteColors();
    ASSERT_EQ(colors.size(), 20u);
    EXPECT_EQ(colors[0], clWhite);
    EXPECT_EQ(colors[1], clRed);
    EXPECT_EQ(colors[5], clBlack);
    EXPECT_EQ(colors[19], (TColor{10461087}));
    // Four rows of five.
    TColorPalettePopup& popup = *picker->palettePopup();
    EXPECT_EQ(popup.cellRect(4).top(), popup.cellRect(0).top());
    EXPECT_GT(popup.cellRect(5).top(), popup.cellRect(4).top());
    EXPECT_EQ(popup.cellRect(5).left(), popup.cellRect(0).left());
    EXPECT_GT(popup.otherButton()->geometry().top(), popup.cellRect(19).bottom());
}

TEST_F(ColorPickers, ColourSetFromCodeIsNotReported)
{
    QSignalSpy changes(picker, &TColorPicker::colorChange);
    picker->setColor(clRed);
    EXPECT_EQ(changes.count(), 0);
}

TEST_F(ColorPickers, ClickDropsThePaletteAndAChosenColourIsTakenAndReported)
{
    QSignalSpy changes(picker, &TColorPicker::colorChange);
    QTest::mouseClick(picker, Qt::LeftButton);
    ASSERT_TRUE(picker->palettePopup()->isVisible());

    clickCell(1);
    EXPECT_FALSE(picker->palettePopup()->isVisible());
    EXPECT_EQ(picker->color(), clRed);
    EXPECT_EQ(changes.count(), 1);

    // Choosing the colour already shown is a choice too.
    QTest::mouseClick(picker, Qt::LeftButton);
    clickCell(1);
    EXPECT_EQ(changes.count(), 2);
}

TEST_F(ColorPickers, EscapeClosesThePaletteWithoutAChoice)
{
    picker->setColor(clLime);
    QSignalSpy changes(picker, &TColorPicker::colorChange);
    picker->dropDown();
    QTest::keyClick(picker->palettePopup(), Qt::Key_Escape);
    EXPECT_FALSE(picker->palettePopup()->isVisible());
    EXPECT_EQ(picker->color(), clLime);
    EXPECT_EQ(changes.count(), 0);
}

TEST_F(ColorPickers, KeyboardMarksFromTheCurrentColourAndChoosesWithReturn)
{
    picker->setColor(clBlack); // cell 5, first of the second row
    QSignalSpy changes(picker, &TColorPicker::colorChange);
    picker->dropDown();
    TColorPalettePopup* popup = picker->palettePopup();
    EXPECT_EQ(popup->markedCell(), 5);
    QTest::keyClick(popup, Qt::Key_Right);
    QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Return);
    EXPECT_EQ(picker->color(), (TColor{65535})); // cell 11, yellow
    EXPECT_EQ(changes.count(), 1);

    // Moving past an end wraps round.
    picker->setColor(TColor{0x123456}); // not in the palette: marks the first cell
    picker->dropDown();
    EXPECT_EQ(popup->markedCell(), 0);
    QTest::keyClick(popup, Qt::Key_Left);
    EXPECT_EQ(popup->markedCell(), 19);
    QTest::keyClick(popup, Qt::Key_Escape);
}

TEST_F(ColorPickers, OtherOpensTheDialogOnTheCurrentColourAndTakesAConfirmedOne)
{
    picker->setColor(clRed);
    QSignalSpy changes(picker, &TColorPicker::colorChange);
    QColor offered;
    whenDialogOpens([&](QColorDialog& dialog) {
        offered = dialog.currentColor();
        dialog.setCurrentColor(QColor(0x40, 0x80, 0xFF));
        dialog.accept();
    });
    picker->dropDown();
    picker->palettePopup()->otherButton()->click();

    EXPECT_EQ(offered, QColor(255, 0, 0));
    EXPECT_FALSE(picker->palettePopup()->isVisible());
    EXPECT_EQ(picker->color(), (TColor{0xFF8040}));
    EXPECT_EQ(changes.count(), 1);
}

TEST_F(ColorPickers, CancelledDialogChangesNothing)
{
    picker->setColor(clRed);
    QSignalSpy changes(picker, &TColorPicker::colorChange);
    whenDialogOpens([](QColorDialog& dialog) {
        dialog.setCurrentColor(Qt::blue);
        dialog.reject();
    });
    picker->chooseOtherColor();
    EXPECT_EQ(picker->color(), clRed);
    EXPECT_EQ(changes.count(), 0);
}

TEST_F(ColorPickers, EachPickerKeepsItsOwnCustomColours)
{
    auto* other = new TColorPicker(&window);
    whenDialogOpens([](QColorDialog& dialog) {
        QColorDialog::setCustomColor(3, QColor(0x11, 0x22, 0x33));
        dialog.reject();
    });
    picker->chooseOtherColor();
    EXPECT_EQ(picker->customColors()[3], (TColor{0x332211}));

    QColor seenByOther;
    whenDialogOpens([&](QColorDialog& dialog) {
        seenByOther = QColorDialog::customColor(3);
        dialog.reject();
    });
    other->chooseOtherColor();
    EXPECT_EQ(seenByOther, QColor(Qt::white));
    EXPECT_EQ(other->customColors()[3], clWhite);
}

} // namespace
} // namespace harmonet
