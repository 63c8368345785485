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

#include <gtest/gtest.h>

#include <functional>

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

    QWidget window;
    TColorPicker* picker = nullptr;
};

TEST_F(ColorPickers, ClickedColourIsTakenAndReportedEvenWhenUnchanged)
{
    EXPECT_EQ(picker->color(), clBlack);
    QSignalSpy changes(picker, &TColorPicker::colorChange);
    picker->setColor(clLime);
    EXPECT_EQ(changes.count(), 0) << "a colour set from code is not reported";

    TColorPalettePopup* popup = picker->palettePopup();
    for (int round = 1; round <= 2; ++round) {
        QTest::mouseClick(picker, Qt::LeftButton);
        ASSERT_TRUE(popup->isVisible());
        QTest::mouseClick(popup, Qt::LeftButton, {}, popup->cellRect(1).center());
        EXPECT_FALSE(popup->isVisible());
        EXPECT_EQ(picker->color(), clRed);
        EXPECT_EQ(changes.count(), round);
    }
}

TEST_F(ColorPickers, KeyboardStartsOnTheCurrentColourWrapsAndEscapeChoosesNothing)
{
    QSignalSpy changes(picker, &TColorPicker::colorChange);
    TColorPalettePopup* popup = picker->palettePopup();
    picker->setColor(TColor{0x123456}); // not in the palette: the first cell is marked
    picker->dropDown();
    EXPECT_EQ(popup->markedCell(), 0);
    QTest::keyClick(popup, Qt::Key_Left);
    EXPECT_EQ(popup->markedCell(), 19);
    QTest::keyClick(popup, Qt::Key_Escape);
    EXPECT_FALSE(popup->isVisible());
    EXPECT_EQ(changes.count(), 0);

    picker->setColor(clBlack); // first of the second row
    picker->dropDown();
    EXPECT_EQ(popup->markedCell(), 5);
    QTest::keyClick(popup, Qt::Key_Right);
    QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Return);
    EXPECT_EQ(picker->color(), (TColor{65535})); // third row, second: yellow
    EXPECT_EQ(changes.count(), 1);
}

TEST_F(ColorPickers, OtherOpensTheDialogOnTheCurrentColourAndTakesOnlyAConfirmedOne)
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

TEST_F(ColorPickers, EachPickerKeepsItsOwnCustomColours)
{
    auto* other = new TColorPicker(&window);
    whenDialogOpens([](QColorDialog& dialog) {
        QColorDialog::setCustomColor(3, QColor(0x11, 0x22, 0x33));
        dialog.reject();
    });
    picker->chooseOtherColor();
    EXPECT_EQ(picker->customColors()[3], (TColor{0x332211}));
    EXPECT_EQ(picker->customColors()[4], clWhite);

    QColor seenByOther;
    whenDialogOpens([&](QColorDialog& dialog) {
        seenByOther = QColorDialog::customColor(3);
        dialog.reject();
    });
    other->chooseOtherColor();
    EXPECT_EQ(seenByOther, QColor(Qt::white));
}

} // namespace
} // namespace harmonet
