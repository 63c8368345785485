// The stepping slider: whole steps by key and by paging click, and the
// notification that the user has finished a change.
#include "player/TrackBar.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace harmonet::test {
namespace {

// 1..200 in steps of 10, as wide as the main window's sliders.
class TrackBarTest : public ::testing::Test {
protected:
    TrackBarTest()
    {
        bar.setGeometry(0, 0, 215, 30);
        bar.setRange(1, 200);
        bar.setSingleStep(10);
        bar.setPageStep(10);
        bar.show();
    }

    QTimer* pageRepeat() { return bar.findChild<QTimer*>(); }

    TTrackBar bar;
    QSignalSpy changes{&bar, &QSlider::valueChanged};
    QSignalSpy finished{&bar, &TTrackBar::changed};
};

TEST_F(TrackBarTest, KeyStepsGoToTheNeighbouringMultiplesOfTheStep)
{
    const QList<std::pair<int, int>> rightFrom = {{96, 110}, {94, 100}, {95, 110}, {85, 90}, {1, 10}, {195, 200}};
    for (const auto& [from, to] : rightFrom) {
        bar.setValue(from);
        QTest::keyClick(&bar, Qt::Key_Right);
        EXPECT_EQ(bar.value(), to) << "Right from " << from << " (halves round to even)";
    }
    const QList<std::pair<int, int>> leftFrom = {{96, 90}, {94, 80}, {5, 1}, {200, 190}};
    for (const auto& [from, to] : leftFrom) {
        bar.setValue(from);
        QTest::keyClick(&bar, Qt::Key_Left);
        EXPECT_EQ(bar.value(), to) << "Left from " << from;
    }
    QTest::keyClick(&bar, Qt::Key_End);
    EXPECT_EQ(bar.value(), 200);
    QTest::keyClick(&bar, Qt::Key_Home);
    EXPECT_EQ(bar.value(), 1);
    EXPECT_EQ(finished.count(), 12) << "every key step is a finished change";
}

TEST_F(TrackBarTest, OtherKeysAreOfferedToTheOwnerAndChangeNothing)
{
    QSignalSpy offered(&bar, &TTrackBar::keyDown);
    bar.setValue(50);
    changes.clear();
    QTest::keyClick(&bar, Qt::Key_1);
    QTest::keyClick(&bar, Qt::Key_PageUp);
    EXPECT_EQ(offered.count(), 2);
    EXPECT_EQ(bar.value(), 50);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(finished.count(), 0);
}

TEST_F(TrackBarTest, DraggingChangesTheValueAndFinishesOnlyAtTheRelease)
{
    bar.setValue(100);
    changes.clear();
    bar.setSliderDown(true);
    bar.setSliderPosition(120);
    bar.setSliderPosition(140);
    EXPECT_EQ(bar.value(), 140);
    EXPECT_EQ(changes.count(), 2) << "every move of the thumb is a change";
    EXPECT_EQ(finished.count(), 0);
    bar.setSliderDown(false);
    EXPECT_EQ(finished.count(), 1);
}

TEST_F(TrackBarTest, APagingClickStepsTowardTheMouseAndRepeatsWhileHeld)
{
    bar.setValue(1);
    const QPoint nearRightEnd(bar.width() - 3, bar.height() / 2);
    QTest::mousePress(&bar, Qt::LeftButton, {}, nearRightEnd);
    EXPECT_EQ(bar.value(), 10);
    ASSERT_TRUE(pageRepeat()->isActive());
    EXPECT_EQ(pageRepeat()->interval(), 400);
    QMetaObject::invokeMethod(pageRepeat(), "timeout");
    EXPECT_EQ(bar.value(), 20);
    EXPECT_EQ(finished.count(), 0);
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, nearRightEnd);
    EXPECT_FALSE(pageRepeat()->isActive());
    EXPECT_EQ(finished.count(), 1);

    // Paging stops once the thumb has reached the held place.
    bar.setValue(190);
    QTest::mousePress(&bar, Qt::LeftButton, {}, nearRightEnd);
    EXPECT_EQ(bar.value(), 200);
    QMetaObject::invokeMethod(pageRepeat(), "timeout");
    EXPECT_FALSE(pageRepeat()->isActive());
    EXPECT_EQ(bar.value(), 200);
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, nearRightEnd);
}

} // namespace
} // namespace harmonet::test
