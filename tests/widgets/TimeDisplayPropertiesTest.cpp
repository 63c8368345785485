// The read-out's published properties: the identifiers the settings store
// writes, and the inherited placement, colour and font behaviour.
#include "widgets/cmpTimeDisplay.h"

#include <QMetaEnum>
#include <QMetaProperty>
#include <QPushButton>

#include <gtest/gtest.h>

namespace harmonet {
namespace {

using namespace controls;

TEST(TimeDisplayProperties, EnumerationsListTheirIdentifiersInOrderAndColoursAreTColor)
{
    const QMetaObject& meta = TTimeDisplay::staticMetaObject;
    const auto keysOf = [&](const char* name) {
        const QMetaEnum enumerator = meta.property(meta.indexOfProperty(name)).enumerator();
        QStringList keys;
        for (int i = 0; i < enumerator.keyCount(); ++i) {
            keys << QString::fromLatin1(enumerator.key(i));
        }
        return keys;
    };
    EXPECT_EQ(keysOf("BevelInner"), (QStringList{"bvNone", "bvLowered", "bvRaised", "bvSpace"}));
    EXPECT_EQ(keysOf("BevelOuter"), keysOf("BevelInner"));
    EXPECT_EQ(keysOf("BorderStyle"), (QStringList{"bsNone", "bsSingle"}));
    EXPECT_EQ(keysOf("Alignment"), (QStringList{"taLeftJustify", "taRightJustify", "taCenter"}));
    EXPECT_EQ(keysOf("Align"), (QStringList{"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"}));
    EXPECT_EQ(meta.property(meta.indexOfProperty("Color")).metaType(), QMetaType::fromType<TColor>());
    EXPECT_EQ(meta.property(meta.indexOfProperty("FontColor")).metaType(), QMetaType::fromType<TColor>());
}

TEST(TimeDisplayProperties, ParentColorFollowsTheParentUntilAColourIsSet)
{
    QWidget parent;
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, QColor(0x10, 0x20, 0x30));
    parent.setPalette(palette);
    auto* display = new TTimeDisplay(&parent);
    EXPECT_EQ(display->color(), clWindow);

    display->setParentColor(true);
    EXPECT_EQ(display->color(), (TColor{0x302010}));
    // A parent that publishes a colour of its own is followed by that colour.
    parent.setProperty("Color", QVariant::fromValue(clLime));
    EXPECT_EQ(display->color(), clLime);

    display->setColor(clRed);
    EXPECT_FALSE(display->parentColor());
    // Switching off keeps the colour that was shown.
    display->setParentColor(true);
    display->setParentColor(false);
    EXPECT_EQ(display->color(), clLime);
}

TEST(TimeDisplayProperties, ParentFontFollowsTheParentUntilAFontOrTextColourIsSet)
{
    QWidget parent;
    QFont parentFont(QStringLiteral("DejaVu Serif"));
    parentFont.setPixelSize(17);
    parent.setFont(parentFont);
    auto* display = new TTimeDisplay(&parent);
    EXPECT_TRUE(display->parentFont());
    EXPECT_EQ(display->displayFont().pixelSize(), 17);

    QFont own(QStringLiteral("DejaVu Sans"));
    own.setPixelSize(11);
    display->setDisplayFont(own);
    EXPECT_FALSE(display->parentFont());
    parentFont.setPixelSize(23);
    parent.setFont(parentFont);
    EXPECT_EQ(display->displayFont().pixelSize(), 11);

    display->setParentFont(true);
    EXPECT_EQ(display->displayFont().pixelSize(), 23);
    display->setFontColor(clLime);
    EXPECT_FALSE(display->parentFont());
    EXPECT_EQ(display->fontColor(), clLime);
    EXPECT_EQ(display->displayFont().pixelSize(), 23);
}

TEST(TimeDisplayProperties, AlignKeepsTheControlPlacedAsItsParentResizes)
{
    QWidget parent;
    parent.resize(200, 100);
    auto* display = new TTimeDisplay(&parent);
    display->setGeometry(10, 10, 75, 16);
    parent.show(); // a hidden window hands out its resize events only when shown

    display->setAlign(alBottom);
    EXPECT_EQ(display->geometry(), QRect(0, 84, 200, 16));
    parent.resize(300, 150);
    EXPECT_EQ(display->geometry(), QRect(0, 134, 300, 16));
    display->setAlign(alRight);
    parent.resize(320, 80);
    EXPECT_EQ(display->geometry(), QRect(20, 0, 300, 80));
    display->setAlign(alNone);
    parent.resize(100, 50);
    EXPECT_EQ(display->geometry(), QRect(20, 0, 300, 80));
}

TEST(TimeDisplayProperties, TabOrderReachesEveryPlaceAmongTheParentsControls)
{
    EXPECT_EQ(TTimeDisplay().tabOrder(), -1);

    QWidget window;
    auto* before = new QPushButton(&window);
    auto* panel = new QWidget(&window);
    new QPushButton(panel);
    auto* display = new TTimeDisplay(panel);
    new QPushButton(panel);
    new QPushButton(panel);
    auto* after = new QPushButton(&window);
    for (int from = 0; from < 4; ++from) {
        for (int to = 0; to < 5; ++to) {
            display->setTabOrder(from);
            ASSERT_EQ(display->tabOrder(), from);
            display->setTabOrder(to);
            EXPECT_EQ(display->tabOrder(), std::min(to, 3)) << "from " << from << " to " << to;
        }
    }
    // The panel's controls stay together between the window's own.
    QWidget* w = before->nextInFocusChain();
    EXPECT_EQ(w, panel);
    for (int i = 0; i < 4; ++i) {
        w = w->nextInFocusChain();
        EXPECT_EQ(w->parentWidget(), panel);
    }
    EXPECT_EQ(w->nextInFocusChain(), after);
}

} // namespace
} // namespace harmonet
