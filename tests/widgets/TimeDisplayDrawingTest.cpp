// Where the read-out draws its bevels and text, in which colours, and when.
#include "widgets/cmpTimeDisplay.h"

#include "tests/widgets/RenderInspection.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <limits>
#include <memory>

namespace harmonet {
namespace {

using namespace controls;
using test::inkBounds;
using test::renderWidget;
using test::textInkOffset;

const QColor kBlack(0, 0, 0);

// Colours compared as 8-bit RGB, the way the image stores them.
QRgb shadowColor() { return toQColor(TColor{qint32(0x80000010)}).rgb(); }
QRgb highlightColor() { return toQColor(TColor{qint32(0x80000014)}).rgb(); }
QRgb at(const QImage& image, int x, int y) { return image.pixel(x, y); }

QFont readoutFont()
{
    QFont font(QStringLiteral("DejaVu Sans Condensed"));
    font.setPixelSize(11);
    font.setBold(true);
    return font;
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            ++count;
        }
        return false;
    }
};

// The read-out as the main window sets it up: 75 x 16, inner space, outer
// lowered, right-aligned lime text on black.
void setUpLikeMainWindow(TTimeDisplay& display)
{
    display.resize(75, 16);
    display.setBevelInner(bvSpace);
    display.setBevelOuter(bvLowered);
    display.setBorderStyle(bsSingle);
    display.setAlignment(taRightJustify);
    display.setDisplayFont(readoutFont());
    display.setFontColor(clLime);
    display.setColor(clBlack);
}

TEST(TimeDisplayDrawing, MainWindowSetupShowsSunkenFrameGapAndRightAlignedText)
{
    TTimeDisplay display;
    setUpLikeMainWindow(display);
    display.setTime(3723450);
    const QImage image = renderWidget(display);

    EXPECT_EQ(display.textRect(), (TEdges{2, 2, 71, 12}));
    // Outer frame: left and top in the shadow colour, right and bottom in the highlight.
    for (int y = 0; y < 16; ++y) {
        EXPECT_EQ(at(image, 0, y), shadowColor()) << "left edge, row " << y;
    }
    for (int x = 0; x < 75; ++x) {
        EXPECT_EQ(at(image, x, 0), shadowColor()) << "top edge, column " << x;
    }
    for (int y = 1; y < 16; ++y) {
        EXPECT_EQ(at(image, 74, y), highlightColor()) << "right edge, row " << y;
    }
    for (int x = 1; x < 75; ++x) {
        EXPECT_EQ(at(image, x, 15), highlightColor()) << "bottom edge, column " << x;
    }
    // The inner bevel is a space: a one-pixel ring in the background colour
    // (the text cell may reach rows 1 and 14, so the columns are checked).
    for (int y = 1; y < 15; ++y) {
        EXPECT_EQ(at(image, 1, y), kBlack.rgb()) << "inner left, row " << y;
        EXPECT_EQ(at(image, 73, y), kBlack.rgb()) << "inner right, row " << y;
    }

    // The text ends one pixel inside the right edge (71) of the text rectangle
    // and its cell starts one pixel below the top of the control.
    const QString text = TTimeDisplay::formatTime(3723450);
    const int textWidth = QFontMetrics(readoutFont()).horizontalAdvance(text);
    ASSERT_LT(textWidth, 67) << "the test font must fit inside the frame";
    const int x = 71 - textWidth - 1;
    const QRect ink = inkBounds(image, QRect(1, 1, 73, 14), kBlack);
    EXPECT_EQ(ink, textInkOffset(text, readoutFont()).translated(x, 1));
}

TEST(TimeDisplayDrawing, RaisedBevelsSwapTheColoursAndInnerBevelSitsOnePixelIn)
{
    TTimeDisplay display;
    display.resize(120, 20);
    display.setDisplayFont(readoutFont());
    display.setColor(clBlack);
    display.setBevelOuter(bvRaised);
    display.setBevelInner(bvLowered);
    const QImage image = renderWidget(display);

    // The left-aligned text ends well before x = 100, where the edges are checked.
    EXPECT_EQ(at(image, 0, 10), highlightColor());
    EXPECT_EQ(at(image, 100, 0), highlightColor());
    EXPECT_EQ(at(image, 119, 10), shadowColor());
    EXPECT_EQ(at(image, 100, 19), shadowColor());
    // Corners: top-right and bottom-left belong to the first colour, bottom-right to the second.
    EXPECT_EQ(at(image, 119, 0), highlightColor());
    EXPECT_EQ(at(image, 0, 19), highlightColor());
    EXPECT_EQ(at(image, 119, 19), shadowColor());
    // The inner bevel runs from (1, 1) to (118, 18) in the lowered colours.
    EXPECT_EQ(at(image, 100, 1), shadowColor());
    EXPECT_EQ(at(image, 118, 10), highlightColor());
    EXPECT_EQ(at(image, 100, 18), highlightColor());
    EXPECT_EQ(at(image, 1, 18), shadowColor());
    EXPECT_EQ(at(image, 118, 1), shadowColor());
    EXPECT_EQ(display.textRect(), (TEdges{2, 2, 116, 16}));
}

TEST(TimeDisplayDrawing, WithoutBevelsTextRectIsTheClientAndLeftTextStartsOnePixelIn)
{
    TTimeDisplay display;
    display.resize(120, 30);
    display.setDisplayFont(readoutFont());
    display.setColor(clBlack);
    display.setFontColor(clLime);
    display.setTime(45296789);
    const QImage image = renderWidget(display);

    EXPECT_EQ(display.textRect(), (TEdges{0, 0, 120, 30}));
    const QString text = TTimeDisplay::formatTime(45296789);
    EXPECT_EQ(inkBounds(image, image.rect(), kBlack),
              textInkOffset(text, readoutFont()).translated(1, 1));
}

TEST(TimeDisplayDrawing, CentredTextAndTallControlKeepTextOnePixelBelowTheTop)
{
    TTimeDisplay display;
    display.resize(101, 60);
    display.setDisplayFont(readoutFont());
    display.setColor(clBlack);
    display.setFontColor(clLime);
    display.setBevelOuter(bvLowered);
    display.setAlignment(taCenter);
    const QImage image = renderWidget(display);

    // Outer bevel only: inset 1, rectangle (1, 1, 99, 58).
    EXPECT_EQ(display.textRect(), (TEdges{1, 1, 99, 58}));
    const QString text = TTimeDisplay::formatTime(0);
    const int textWidth = QFontMetrics(readoutFont()).horizontalAdvance(text);
    const int x = 1 + (99 - 1 - textWidth) / 2;
    EXPECT_EQ(inkBounds(image, QRect(1, 1, 99, 58), kBlack),
              textInkOffset(text, readoutFont()).translated(x, 1));
}

TEST(TimeDisplayDrawing, TextWiderThanTheControlIsDrawnWithoutHarm)
{
    TTimeDisplay display;
    display.resize(12, 6);
    display.setColor(clBlack);
    display.setFontColor(clLime);
    display.setBevelOuter(bvLowered);
    display.setBevelInner(bvLowered);
    display.setAlignment(taCenter);
    display.setTime(std::numeric_limits<qint32>::min());
    const QImage image = renderWidget(display);
    EXPECT_EQ(display.textRect(), (TEdges{2, 2, 8, 2}));
    EXPECT_EQ(image.size(), QSize(12, 6));
}

TEST(TimeDisplayDrawing, BackgroundAndTextColoursComeFromColorAndFontColor)
{
    TTimeDisplay display;
    display.resize(120, 20);
    display.setColor(TColor{0x0000FF}); // red in 0x00BBGGRR
    display.setFontColor(TColor{0xFF0000}); // blue
    const QImage image = renderWidget(display);
    EXPECT_EQ(at(image, 119, 19), qRgb(255, 0, 0));
    bool foundText = false;
    for (int x = 0; x < 120 && !foundText; ++x) {
        for (int y = 0; y < 20 && !foundText; ++y) {
            foundText = at(image, x, y) == qRgb(0, 0, 255);
        }
    }
    EXPECT_TRUE(foundText);
}

class TimeDisplayShown : public ::testing::Test {
protected:
    void SetUp() override
    {
        setUpLikeMainWindow(display);
        display.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&display));
        QCoreApplication::processEvents();
        counter = std::make_unique<PaintCounter>(display);
    }

    TTimeDisplay display;
    std::unique_ptr<PaintCounter> counter;
};

TEST_F(TimeDisplayShown, NewTimeIsDrawnBeforeSetTimeReturns)
{
    display.setTime(1234);
    EXPECT_EQ(counter->count, 1);
    display.setTime(-37);
    EXPECT_EQ(counter->count, 2);
}

TEST_F(TimeDisplayShown, SameTimeDrawsNothing)
{
    display.setTime(0);
    QCoreApplication::processEvents();
    EXPECT_EQ(counter->count, 0);
}

TEST_F(TimeDisplayShown, FrameAndAlignmentChangesRepaintAtOnceButOnlyWhenDifferent)
{
    display.setBevelInner(bvSpace);
    display.setBevelOuter(bvLowered);
    display.setAlignment(taRightJustify);
    display.setBorderStyle(bsSingle);
    EXPECT_EQ(counter->count, 0);

    display.setBevelInner(bvRaised);
    display.setBevelOuter(bvNone);
    display.setAlignment(taLeftJustify);
    EXPECT_EQ(counter->count, 3);
}

TEST_F(TimeDisplayShown, BorderStyleRepaintsButChangesNothingVisible)
{
    const QImage before = renderWidget(display);
    const int paintsBefore = counter->count;
    display.setBorderStyle(bsNone);
    EXPECT_EQ(counter->count, paintsBefore + 1);
    EXPECT_EQ(display.borderStyle(), bsNone);
    EXPECT_EQ(renderWidget(display), before);
}

TEST_F(TimeDisplayShown, ColourChangesWaitForTheNextPaint)
{
    display.setColor(clWhite);
    display.setFontColor(clRed);
    EXPECT_EQ(counter->count, 0);
    QCoreApplication::processEvents();
    EXPECT_GE(counter->count, 1);
}

} // namespace
} // namespace harmonet
