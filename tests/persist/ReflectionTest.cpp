// Which properties of an object are published, in what order, and how
// components, properties and handlers are found by name.
#include "persist/ExtractField.h"
#include "persist/Reflection.h"
#include "tests/persist/TestComponents.h"

#include <gtest/gtest.h>

namespace harmonet::test {
namespace {

QStringList namesOf(const QList<PublishedProperty>& properties)
{
    QStringList names;
    for (const PublishedProperty& property : properties)
        names.append(property.name);
    return names;
}

TEST(PublishedProperties, AreTheProgramsOwnInNameOrderWithoutQtsOwn)
{
    TTestPanel panel;
    EXPECT_EQ(namesOf(PublishedObject(&panel).properties()),
              (QStringList{"Caption", "Cursor", "Font"}));
    TTestWindow window;
    EXPECT_EQ(namesOf(PublishedObject(&window).properties()),
              (QStringList{"Height", "Left", "Top", "Width"}));
}

TEST(PublishedProperties, OfAFontAreItsSevenInNameOrder)
{
    QVariant font = QVariant::fromValue(TFont());
    const PublishedObject object = PublishedObject::gadget(font);
    ASSERT_FALSE(object.isNull());
    EXPECT_EQ(namesOf(object.properties()),
              (QStringList{"Charset", "Color", "Height", "Name", "Pitch", "Size", "Style"}));
}

TEST(PublishedProperties, CarryKindTypeNameAndMembers)
{
    TTestKinds kinds;
    TTestPanel panel;
    TTestToolButton button;
    const auto describe = [](QObject* object, const char* name) {
        return *PublishedObject(object).property(QString::fromLatin1(name));
    };
    const PublishedProperty layout = describe(&kinds, "Layout");
    EXPECT_EQ(layout.kind, PropertyKind::Enumeration);
    EXPECT_EQ(layout.memberNames, (QStringList{"lyNone", "lyTop", "lyBottom", "lyClient"}));
    const PublishedProperty anchors = describe(&kinds, "Anchors");
    EXPECT_EQ(anchors.kind, PropertyKind::Set);
    EXPECT_EQ(anchors.memberNames, (QStringList{"akLeft", "akTop", "akRight", "akBottom"}));
    EXPECT_EQ(describe(&button, "Down").typeName, "Boolean");
    EXPECT_EQ(describe(&panel, "Cursor").typeName, "TCursor");

    const std::pair<const char*, PropertyKind> kindsByName[] = {
        {"Ratio", PropertyKind::Float},   {"Accelerator", PropertyKind::Character},
        {"Big", PropertyKind::Integer},   {"Lines", PropertyKind::Object},
        {"Partner", PropertyKind::Object}, {"PlainFont", PropertyKind::Object},
        {"OnClick", PropertyKind::Method}, {"Spot", PropertyKind::Other}};
    for (const auto& [name, kind] : kindsByName)
        EXPECT_EQ(describe(&kinds, name).kind, kind) << name;
    EXPECT_EQ(describe(&panel, "Font").kind, PropertyKind::Object);
}

TEST(PublishedProperties, AreFoundWithoutRegardToCase)
{
    TTestPanel panel;
    const PublishedObject object(&panel);
    const auto font = object.property(QStringLiteral("FONT"));
    ASSERT_TRUE(font);
    EXPECT_EQ(font->name, "Font");
    EXPECT_EQ(font->meta.metaType(), QMetaType::fromType<TFont>());
    EXPECT_FALSE(object.property(QStringLiteral("objectName")));
    EXPECT_FALSE(object.property(QStringLiteral("geometry")));
}

TEST(OwnedComponents, AreFoundWithoutRegardToCaseAtAnyDepth)
{
    TestForm form;
    EXPECT_EQ(findOwnedComponent(&form.window, QStringLiteral("SBTIMEDOWN")), form.timeDown);
    EXPECT_EQ(findOwnedComponent(&form.window, QStringLiteral("kinds1")), form.kinds);
    EXPECT_EQ(findOwnedComponent(&form.window, QStringLiteral("Missing")), nullptr);
    EXPECT_EQ(findOwnedComponent(&form.window, QString()), nullptr);
    EXPECT_EQ(findOwnedComponent(&form.window, QStringLiteral("frmTest")), nullptr);
}

TEST(OwnedComponents, NearestOfTwoWithOneNameWins)
{
    TestForm form;
    auto* deep = new TTestCheckBox(form.timeDown);
    deep->setObjectName(QStringLiteral("Kinds1"));
    EXPECT_EQ(findOwnedComponent(&form.window, QStringLiteral("Kinds1")), form.kinds);
}

TEST(Handlers, AreTheWindowsOwnSlotsFoundWithoutRegardToCase)
{
    TTestWindow window;
    EXPECT_EQ(findHandler(&window, QStringLiteral("BTNPLAYCLICK")), QByteArray("btnPlayClick"));
    EXPECT_EQ(findHandler(&window, QStringLiteral("close")), QByteArray());
    EXPECT_EQ(findHandler(&window, QStringLiteral("deleteLater")), QByteArray());
    EXPECT_EQ(findHandler(&window, QString()), QByteArray());
}

TEST(ExtractFieldTest, CutsTrimsAndRunsPastTheEnd)
{
    const QString line = QStringLiteral(" frmMain ;Top;\t-1;Software\\Harmonet\\MainForm;FormTop;1;0");
    EXPECT_EQ(ExtractField(line, 0, ';'), "frmMain");
    EXPECT_EQ(ExtractField(line, 2, ';'), "-1");
    EXPECT_EQ(ExtractField(line, 3, ';'), "Software\\Harmonet\\MainForm");
    EXPECT_EQ(ExtractField(line, 6, ';'), "0");
    EXPECT_EQ(ExtractField(line, 7, ';'), "");
    EXPECT_EQ(ExtractField(QStringLiteral("a;;b"), 1, ';'), "");
    EXPECT_EQ(ExtractField(QStringLiteral("a|b|"), 2, '|'), "");
    EXPECT_EQ(ExtractField(QString(), 0, ';'), "");
    EXPECT_EQ(ExtractField(QStringLiteral("\x01 x \x1f"), 0, ';'), "x");
}

} // namespace
} // namespace harmonet::test
