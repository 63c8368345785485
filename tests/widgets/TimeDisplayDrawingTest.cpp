// Where the read-out draws its bevels and text, in which colours, and when.
#include "widgets/cmpTimeDisplay.h"

#include "tests/widgets/RenderedImage.h"

#include <QFontMetrics>
#include <QTest>

#include <gtest/gtest.h>

namespace harmonet {
namespace {

using namespace controls;
using test::inkBounds;
using test::renderWidget;
using test::textInkOffset;

// Colours compared as 8-bit RGB, the way the image stores them.
const QRgb kBlack = qRgb(0, 0, 0);
QRgb shadow() { return toQColor(TColor{qint32(0x80000010)}).rgb(); }
QRgb highlight() { return toQColor(TColor{qint32(0x80000014)}).rgb(); }

QFont readoutFont()
{
    QFont font(QStringLiteral("DejaVu Sans Condensed"));
    font.setPixelSize(11);
    font.setBold(true);
    return font;
}

int textWidth(qint32 ms) { return QFontMetrics(readoutFont()).horizontalAdvance(TTimeDisplay::formatTime(ms)); }

// Where the ink of the time's text lands when its cell starts at (x, 1).
QRect expectedInk(qint32 ms, int x) { return textInkOffset(TTimeDisplay::formatTime(ms), readoutFont()).translated(x, 1); }

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
    // Outer frame: left and top in the shadow colour, right and bottom in the
    // highlight; the inner space is a ring in the background colour.
    for (int y = 0; y < 16; ++y) {
        EXPECT_EQ(image.pixel(0, y), shadow()) << "row " << y;
        EXPECT_EQ(image.pixel(74, y), y == 0 ? shadow() : highlight()) << "row " << y;
    }
    for (int x = 0; x < 75; ++x) {
        EXPECT_EQ(image.pixel(x, 0), shadow()) << "column " << x;
        EXPECT_EQ(image.pixel(x, 15), x == 0 ? shadow() : highlight()) << "column " << x;
    }
    for (int y = 1; y < 15; ++y) {
        EXPECT_EQ(image.pixel(1, y), kBlack);
        EXPECT_EQ(image.pixel(73, y), kBlack);
    }
    // The text ends one pixel inside the rectangle's right edge (71).
    ASSERT_LT(textWidth(3723450), 67) << "the test font must fit inside the frame";
    EXPECT_EQ(inkBounds(image, QRect(1, 1, 73, 14), kBlack), expectedInk(3723450, 71 - textWidth(3723450) - 1));
}

TEST(TimeDisplayDrawing, RaisedOuterAndLoweredInnerBevel)
{
    TTimeDisplay display;
    display.resize(120, 20);
    display.setDisplayFont(readoutFont());
    display.setColor(clBlack);
    display.setBevelOuter(bvRaised);
    display.setBevelInner(bvLowered);
    const QImage image = renderWidget(display);

    // The left-aligned text ends well before x = 100, where the edges are checked.
    EXPECT_EQ(image.pixel(0, 10), highlight());
    EXPECT_EQ(image.pixel(119, 0), highlight()) << "top-right corner goes with the top";
    EXPECT_EQ(image.pixel(119, 19), shadow());
    EXPECT_EQ(image.pixel(100, 19), shadow());
    // The inner bevel runs from (1, 1) to (118, 18).
    EXPECT_EQ(image.pixel(100, 1), shadow());
    EXPECT_EQ(image.pixel(118, 1), shadow());
    EXPECT_EQ(image.pixel(118, 10), highlight());
    EXPECT_EQ(image.pixel(100, 18), highlight());
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
    const QRect ink = inkBounds(image, image.rect(), kBlack);
    EXPECT_EQ(ink, expectedInk(45296789, 1));
    bool lime = false;
    for (int x = ink.left(); x <= ink.right(); ++x) {
        lime = lime || image.pixel(x, ink.center().y()) == qRgb(0, 255, 0);
    }
    EXPECT_TRUE(lime) << "the text is drawn in FontColor";
}

TEST(TimeDisplayDrawing, CentredTextInATallControlStaysOnePixelBelowTheTop)
{
    TTimeDisplay display;
    display.resize(101, 60);
    display.setDisplayFont(readoutFont());
    display.setFontColor(clLime);
    display.setColor(clBlack);
    display.setBevelOuter(bvLowered);
    display.setAlignment(taCenter);
    const QImage image = renderWidget(display);

    EXPECT_EQ(display.textRect(), (TEdges{1, 1, 99, 58}));
    EXPECT_EQ(inkBounds(image, QRect(1, 1, 99, 58), kBlack), expectedInk(0, 1 + (98 - textWidth(0)) / 2));
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        count += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

class TimeDisplayShown : public ::testing::Test {
protected:
    void SetUp() override
    {
        setUpLikeMainWindow(display);
        display.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&display));
        QCoreApplication::processEvents();
    }

    TTimeDisplay display;
    PaintCounter paints{display};
};

TEST_F(TimeDisplayShown, NewTimeIsDrawnBeforeSetTimeReturnsAndTheSameTimeDrawsNothing)
{
    paints.count = 0;
    display.setTime(0);
    QCoreApplication::processEvents();
    EXPECT_EQ(paints.count, 0);
    display.setTime(-37);
    EXPECT_EQ(paints.count, 1);
}

TEST_F(TimeDisplayShown, FrameSettersRepaintAtOnceOnlyOnChangeAndBorderStyleShowsNothing)
{
    const QImage before = renderWidget(display);
    paints.count = 0;
    display.setBevelInner(bvSpace);
    display.setAlignment(taRightJustify);
    display.setBorderStyle(bsSingle);
    EXPECT_EQ(paints.count, 0);

    display.setBorderStyle(bsNone);
    EXPECT_EQ(paints.count, 1);
    EXPECT_EQ(renderWidget(display), before);
    display.setBevelOuter(bvRaised);
    display.setAlignment(taLeftJustify);
    EXPECT_EQ(paints.count, 4) << "two repaints and one grab";
}

} // namespace
} // namespace harmonet
