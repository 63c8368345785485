// The read-out's published properties: defaults, the identifiers the settings
// store writes, and the inherited placement, colour and font behaviour.
#include "widgets/cmpTimeDisplay.h"

#include <QMetaEnum>
#include <QMetaProperty>
#include <QPushButton>

#include <gtest/gtest.h>

namespace harmonet {
namespace {

using namespace controls;

QMetaProperty propertyNamed(const char* name)
{
    const QMetaObject& meta = TTimeDisplay::staticMetaObject;
    return meta.property(meta.indexOfProperty(name));
}

TEST(TimeDisplayProperties, NewControlDefaults)
{
    TTimeDisplay display;
    EXPECT_EQ(display.size(), QSize(100, 20));
    EXPECT_EQ(display.time(), 0);
    EXPECT_EQ(display.hours(), 0);
    EXPECT_EQ(display.cs(), 0);
    EXPECT_EQ(display.textRect(), TEdges{});
    EXPECT_EQ(display.color(), clWindow);
    EXPECT_EQ(display.bevelInner(), bvNone);
    EXPECT_EQ(display.alignment(), taLeftJustify);
    EXPECT_FALSE(display.parentColor());
    EXPECT_TRUE(display.parentFont());
    EXPECT_TRUE(display.ctl3D());
}

TEST(TimeDisplayProperties, EnumerationsListTheirIdentifiersInOrder)
{
    const struct {
        const char* property;
        QStringList keys;
    } cases[] = {
        {"BevelInner", {"bvNone", "bvLowered", "bvRaised", "bvSpace"}},
        {"BevelOuter", {"bvNone", "bvLowered", "bvRaised", "bvSpace"}},
        {"BorderStyle", {"bsNone", "bsSingle"}},
        {"Alignment", {"taLeftJustify", "taRightJustify", "taCenter"}},
        {"Align", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"}},
    };
    for (const auto& c : cases) {
        const QMetaProperty property = propertyNamed(c.property);
        ASSERT_TRUE(property.isValid()) << c.property;
        ASSERT_TRUE(property.isEnumType()) << c.property;
        const QMetaEnum enumerator = property.enumerator();
        QStringList keys;
        for (int i = 0; i < enumerator.keyCount(); ++i) {
            keys << QString::fromLatin1(enumerator.key(i));
        }
        EXPECT_EQ(keys, c.keys) << c.property;
    }
}

TEST(TimeDisplayProperties, ColoursAreTColorAndWritableByName)
{
    EXPECT_EQ(propertyNamed("Color").metaType(), QMetaType::fromType<TColor>());
    EXPECT_EQ(propertyNamed("FontColor").metaType(), QMetaType::fromType<TColor>());
    EXPECT_EQ(propertyNamed("Time").metaType(), QMetaType::fromType<qint32>());

    TTimeDisplay display;
    ASSERT_TRUE(display.setProperty("Color", QVariant::fromValue(clBlack)));
    ASSERT_TRUE(display.setProperty("BevelOuter", QVariant::fromValue(bvLowered)));
    EXPECT_EQ(display.color(), clBlack);
    EXPECT_EQ(display.bevelOuter(), bvLowered);
}

TEST(TimeDisplayProperties, ParentColorFollowsTheParentUntilAColourIsSet)
{
    QWidget parent;
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, QColor(0x10, 0x20, 0x30));
    parent.setPalette(palette);
    auto* display = new TTimeDisplay(&parent);

    display->setParentColor(true);
    EXPECT_EQ(display->color(), (TColor{0x302010}));

    // A parent that publishes a colour of its own is followed by that colour.
    parent.setProperty("Color", QVariant::fromValue(clLime));
    EXPECT_EQ(display->color(), clLime);

    display->setColor(clRed);
    EXPECT_FALSE(display->parentColor());
    EXPECT_EQ(display->color(), clRed);

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
    EXPECT_EQ(display->displayFont().pixelSize(), 17);

    QFont own(QStringLiteral("DejaVu Sans"));
    own.setPixelSize(11);
    own.setBold(true);
    display->setDisplayFont(own);
    EXPECT_FALSE(display->parentFont());
    parentFont.setPixelSize(23);
    parent.setFont(parentFont);
    EXPECT_EQ(display->displayFont().pixelSize(), 11);
    EXPECT_TRUE(display->displayFont().bold());

    display->setParentFont(true);
    EXPECT_EQ(display->displayFont().pixelSize(), 23);
    EXPECT_FALSE(display->displayFont().bold());

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
    // A hidden window hands out its resize events only when shown.
    parent.show();

    display->setAlign(alBottom);
    EXPECT_EQ(display->geometry(), QRect(0, 84, 200, 16));
    parent.resize(300, 150);
    EXPECT_EQ(display->geometry(), QRect(0, 134, 300, 16));

    display->setAlign(alClient);
    EXPECT_EQ(display->geometry(), QRect(0, 0, 300, 150));
    display->setAlign(alRight);
    parent.resize(320, 80);
    EXPECT_EQ(display->geometry(), QRect(20, 0, 300, 80));

    display->setAlign(alNone);
    parent.resize(100, 50);
    EXPECT_EQ(display->geometry(), QRect(20, 0, 300, 80));
}

TEST(TimeDisplayProperties, TabOrderIsThePlaceAmongTheParentsControls)
{
    TTimeDisplay orphan;
    EXPECT_EQ(orphan.tabOrder(), -1);

    QWidget parent;
    auto* first = new QPushButton(&parent);
    auto* display = new TTimeDisplay(&parent);
    auto* last = new QPushButton(&parent);
    EXPECT_EQ(display->tabOrder(), 1);

    display->setTabOrder(0);
    EXPECT_EQ(display->tabOrder(), 0);
    EXPECT_EQ(display->nextInFocusChain(), first);
    EXPECT_EQ(first->nextInFocusChain(), last);

    display->setTabOrder(99);
    EXPECT_EQ(display->tabOrder(), 2);
    EXPECT_EQ(last->nextInFocusChain(), display);
}

} // namespace
} // namespace harmonet
