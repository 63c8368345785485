// Text forms of single properties: what each kind is written as and what a
// stored text gives it back.
#include "persist/PropertyText.h"
#include "persist/PropertyTextError.h"
#include "tests/persist/TestComponents.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace harmonet::test {
namespace {

// Reads and writes one property of one object by name.
class Access {
public:
    Access(QObject* object, const char* property, QObject* window = nullptr)
        : m_object(object), m_window(window),
          m_property(*PublishedObject(object).property(QString::fromLatin1(property)))
    {
    }

    QString text() const { return PropertyToText(m_object, m_property).value_or(QStringLiteral("<none>")); }
    void set(const QString& text) const { TextToProperty(m_window, m_object, m_property, text); }

private:
    PublishedObject m_object;
    QObject* m_window;
    PublishedProperty m_property;
};

TEST(ColorText, IdentifierOrNumberReadsAndIdentifierElseSignedDecimalWrites)
{
    TTestColorBox box;
    const Access color(&box, "Color");
    for (const char* stored : {"clRed", "CLRED", "255", " 255 "}) {
        box.m_color = clWhite;
        color.set(QString::fromLatin1(stored));
        EXPECT_EQ(box.m_color, clRed) << stored;
        EXPECT_EQ(color.text(), "clRed");
    }
    box.m_color = TColor{qint32(0x80000040)};
    EXPECT_EQ(color.text(), "-2147483584");
    box.m_color = clWhite;
    color.set(QStringLiteral("-2147483584"));
    EXPECT_EQ(box.m_color.value, qint32(0x80000040));

    color.set(QString());
    EXPECT_THROW(color.set(QStringLiteral("reddish")), EPropertyTextError);
    EXPECT_THROW(color.set(QStringLiteral("4294967295")), EPropertyTextError);
    EXPECT_EQ(box.m_color.value, qint32(0x80000040));
}

TEST(BooleanText, WritesDigitsAndReadsTheFirstCharacter)
{
    TTestCheckBox box;
    const Access checked(&box, "Checked");
    for (const char* yes : {"True", "yes", "1", "t", "Y"}) {
        box.m_checked = false;
        checked.set(QString::fromLatin1(yes));
        EXPECT_TRUE(box.m_checked) << yes;
        EXPECT_EQ(checked.text(), "1");
    }
    for (const char* no : {"False", "0", "no", "x"}) {
        box.m_checked = true;
        checked.set(QString::fromLatin1(no));
        EXPECT_FALSE(box.m_checked) << no;
        EXPECT_EQ(checked.text(), "0");
    }
    box.m_checked = true;
    checked.set(QString());
    EXPECT_TRUE(box.m_checked);
}

TEST(IntegerText, DecimalWithinTheTypesRange)
{
    TTestKinds kinds;
    const Access small(&kinds, "Small");
    small.set(QStringLiteral("-11"));
    EXPECT_EQ(small.text(), "-11");
    for (const char* refused : {"40000", "12abc", "$FF"})
        EXPECT_THROW(small.set(QString::fromLatin1(refused)), EPropertyTextError) << refused;
    small.set(QString());
    EXPECT_EQ(kinds.m_small, -11);

    const Access positive(&kinds, "Unsigned");
    positive.set(QStringLiteral("4000000000"));
    EXPECT_EQ(kinds.m_unsigned, 4000000000U);
    EXPECT_THROW(positive.set(QStringLiteral("-1")), EPropertyTextError);
}

TEST(EnumerationText, ByIdentifierWithoutRegardToCaseAndAlwaysAValidMember)
{
    TTestKinds kinds;
    const Access layout(&kinds, "Layout");
    layout.set(QStringLiteral("LYCLIENT"));
    EXPECT_EQ(kinds.m_layout, TTestKinds::lyClient);
    EXPECT_EQ(layout.text(), "lyClient");
    layout.set(QStringLiteral("lySideways"));
    layout.set(QString());
    EXPECT_EQ(kinds.m_layout, TTestKinds::lyClient);

    kinds.m_layout = static_cast<TTestKinds::TLayout>(42);
    EXPECT_EQ(layout.text(), "lyNone");
    layout.set(QStringLiteral("nonsense"));
    EXPECT_EQ(kinds.m_layout, TTestKinds::lyNone);
}

TEST(SetText, MembersInMemberOrderAndReadInAnyOrderAsWholeWords)
{
    TTestKinds kinds;
    const Access anchors(&kinds, "Anchors");
    kinds.setAnchors({});
    EXPECT_EQ(anchors.text(), "[]");
    anchors.set(QStringLiteral("[akBottom,akLeft]"));
    EXPECT_EQ(kinds.anchors(), TTestKinds::akLeft | TTestKinds::akBottom);
    EXPECT_EQ(anchors.text(), "[akLeft,akBottom]");
    anchors.set(QStringLiteral("[AKTOP, akRight, akBottomless ]"));
    EXPECT_EQ(kinds.anchors(), TTestKinds::TAnchors(TTestKinds::akRight));
}

TEST(FloatText, FifteenDigitsAndReadsBackUnderAnotherLanguageSetting)
{
    TTestKinds kinds;
    const Access ratio(&kinds, "Ratio");
    kinds.m_ratio = 1.0 / 3.0;
    ratio.set(ratio.text());
    EXPECT_NEAR(kinds.m_ratio, 1.0 / 3.0, 1e-15);
    EXPECT_THROW(ratio.set(QStringLiteral("two")), EPropertyTextError);

    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    kinds.m_ratio = 1234.5;
    const QString german = ratio.text();
    kinds.m_ratio = 0;
    ratio.set(german);
    const double fromGerman = kinds.m_ratio;
    ratio.set(QStringLiteral("1234.5"));
    const double fromC = kinds.m_ratio;
    QLocale::setDefault(previous);
    EXPECT_EQ(german, "1234,5");
    EXPECT_DOUBLE_EQ(fromGerman, 1234.5);
    EXPECT_DOUBLE_EQ(fromC, 1234.5);
}

TEST(ObjectText, StringListJoinedByBars)
{
    TTestKinds kinds;
    const Access lines(&kinds, "Lines");
    EXPECT_EQ(lines.text(), "first|second");
    lines.set(QStringLiteral("a||c|"));
    EXPECT_EQ(kinds.m_lines, (QStringList{"a", "", "c"}));
    lines.set(QString());
    EXPECT_TRUE(kinds.m_lines.isEmpty());
}

TEST(ObjectText, ComponentByNameNoneNotWrittenAndAnUnknownNameKeepsIt)
{
    TestForm form;
    const Access partner(form.kinds, "Partner", &form.window);
    EXPECT_EQ(partner.text(), "<none>");
    partner.set(QStringLiteral("PNLLYRICS"));
    EXPECT_EQ(form.kinds->m_partner, form.panel);
    EXPECT_EQ(partner.text(), "pnlLyrics");
    partner.set(QStringLiteral("NoSuchComponent|x"));
    EXPECT_EQ(form.kinds->m_partner, form.panel);
    EXPECT_EQ(form.panel->m_caption, "Layout caption");
}

TEST(ObjectText, UnnamedObjectIsNestedTextAndReferringToItselfEndsTheNesting)
{
    TestForm form;
    TTestKinds unnamed;
    unnamed.m_partner = &unnamed;
    form.kinds->m_partner = &unnamed;
    const Access partner(form.kinds, "Partner", &form.window);
    const QString text = partner.text();
    EXPECT_TRUE(text.startsWith(QStringLiteral("P|[akLeft,akTop]|1|lyTop|first|second|")));
    EXPECT_LT(text.size(), 2000);
    partner.set(QStringLiteral("Z|[akRight]|5"));
    EXPECT_EQ(form.kinds->m_partner, &unnamed);
    EXPECT_EQ(unnamed.m_accelerator, QLatin1Char('Z'));
    EXPECT_EQ(unnamed.anchors(), TTestKinds::TAnchors(TTestKinds::akRight));
    EXPECT_EQ(unnamed.m_big, 5);
    EXPECT_EQ(unnamed.m_lines, (QStringList{"first", "second"}));
}

TEST(MethodText, HandlerNameOfTheWindow)
{
    TestForm form;
    const Access onClick(form.kinds, "OnClick", &form.window);
    EXPECT_EQ(onClick.text(), "");
    onClick.set(QStringLiteral("btnplayclick"));
    EXPECT_EQ(onClick.text(), "btnPlayClick");
    ASSERT_TRUE(QMetaObject::invokeMethod(form.kinds->m_onClick.object,
                                          form.kinds->m_onClick.name.constData()));
    EXPECT_EQ(form.window.clicks, 1);
    onClick.set(QStringLiteral("noSuchHandler"));
    EXPECT_EQ(onClick.text(), "btnPlayClick");
}

TEST(OtherKinds, WriteEmptyAndIgnoreTheirText)
{
    TTestKinds kinds;
    const Access spot(&kinds, "Spot");
    EXPECT_EQ(spot.text(), "");
    spot.set(QStringLiteral("5,6"));
    EXPECT_EQ(kinds.m_spot, QPoint());
}

} // namespace
} // namespace harmonet::test
