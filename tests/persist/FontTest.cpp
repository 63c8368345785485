// Fonts as objects: height and size, the nested text, and the font to paint with.
#include "persist/Font.h"
#include "persist/PropertyText.h"
#include "tests/persist/TestComponents.h"

#include <gtest/gtest.h>

namespace harmonet::test {
namespace {

const QString kLayoutFont = QStringLiteral("0|clWindowText|-11|MS Sans Serif|fpDefault|8|[]");

TEST(FontMeasure, HeightAndSizeAreOneMeasure)
{
    TFont font;
    font.setSize(12);
    EXPECT_EQ(font.height(), -16);
    EXPECT_EQ(font.size(), 12);
    font.setHeight(-11);
    EXPECT_EQ(font.size(), 8);
    font.setHeight(-20);
    EXPECT_EQ(font.size(), 15);
    font.setHeight(16);
    EXPECT_EQ(font.size(), -12);
}

TEST(FontText, LayoutFontRoundTrips)
{
    TTestPanel panel;
    const PublishedProperty property = *PublishedObject(&panel).property(QStringLiteral("Font"));
    panel.m_font.setCharset(3);
    panel.m_font.setName(QStringLiteral("Arial"));
    TextToProperty(nullptr, &panel, property, kLayoutFont);
    EXPECT_EQ(panel.m_font.charset(), 0);
    EXPECT_EQ(panel.m_font.color(), clWindowText);
    EXPECT_EQ(panel.m_font.height(), -11);
    EXPECT_EQ(panel.m_font.name(), "MS Sans Serif");
    EXPECT_EQ(panel.m_font.pitch(), TFont::fpDefault);
    EXPECT_EQ(panel.m_font.size(), 8);
    EXPECT_EQ(panel.m_font.style(), TFont::TFontStyles());
    EXPECT_EQ(PropertyToText(&panel, property), kLayoutFont);
}

TEST(FontText, LaterSizeWinsOverEarlierHeight)
{
    TTestPanel panel;
    const PublishedProperty property = *PublishedObject(&panel).property(QStringLiteral("Font"));
    TextToProperty(nullptr, &panel, property, QStringLiteral("0|clRed|-20|Arial|fpFixed|12|[fsItalic,fsBold]"));
    EXPECT_EQ(panel.m_font.color(), clRed);
    EXPECT_EQ(panel.m_font.name(), "Arial");
    EXPECT_EQ(panel.m_font.pitch(), TFont::fpFixed);
    EXPECT_EQ(panel.m_font.size(), 12);
    EXPECT_EQ(panel.m_font.height(), -16);
    EXPECT_EQ(panel.m_font.style(), TFont::fsBold | TFont::fsItalic);
    EXPECT_EQ(PropertyToText(&panel, property), "0|clRed|-16|Arial|fpFixed|12|[fsBold,fsItalic]");

    // A size that is the height's own, rounded, leaves the height as it is.
    const QString pixels = QStringLiteral("0|clRed|-22|Arial|fpFixed|17|[]");
    TextToProperty(nullptr, &panel, property, pixels);
    EXPECT_EQ(panel.m_font.height(), -22);
    EXPECT_EQ(PropertyToText(&panel, property), pixels);
}

TEST(FontText, EmptyTextKeepsAUsableFont)
{
    TTestPanel panel;
    const PublishedProperty property = *PublishedObject(&panel).property(QStringLiteral("Font"));
    TextToProperty(nullptr, &panel, property, QStringLiteral("0|clRed|-16|Arial|fpFixed|12|[fsBold]"));
    TextToProperty(nullptr, &panel, property, QString());
    EXPECT_EQ(panel.m_font.name(), "Arial");
    EXPECT_EQ(panel.m_font.pitch(), TFont::fpFixed);
    EXPECT_EQ(panel.m_font.size(), 12);
    EXPECT_EQ(panel.m_font.style(), TFont::TFontStyles());
    EXPECT_FALSE(panel.m_font.toQFont().family().isEmpty());
}

TEST(FontText, AFieldThatDoesNotConvertCostsOnlyItself)
{
    TTestPanel panel;
    const PublishedProperty property = *PublishedObject(&panel).property(QStringLiteral("Font"));
    TextToProperty(nullptr, &panel, property, QStringLiteral("zero|clRed|-16|Arial|fpWide|size|[fsBold]"));
    EXPECT_EQ(panel.m_font.charset(), TFont::DefaultCharset);
    EXPECT_EQ(panel.m_font.color(), clRed);
    EXPECT_EQ(panel.m_font.height(), -16);
    EXPECT_EQ(panel.m_font.name(), "Arial");
    EXPECT_EQ(panel.m_font.pitch(), TFont::fpDefault);
    EXPECT_EQ(panel.m_font.style(), TFont::TFontStyles(TFont::fsBold));
}

TEST(FontText, PlainQFontPropertyGoesThroughTheSameText)
{
    TTestKinds kinds;
    const PublishedProperty property = *PublishedObject(&kinds).property(QStringLiteral("plainfont"));
    TextToProperty(nullptr, &kinds, property, QStringLiteral("0|clRed|-16|DejaVu Sans|fpDefault|12|[fsItalic]"));
    EXPECT_EQ(kinds.m_plainFont.family(), "DejaVu Sans");
    EXPECT_EQ(kinds.m_plainFont.pixelSize(), 16);
    EXPECT_TRUE(kinds.m_plainFont.italic());
    EXPECT_FALSE(kinds.m_plainFont.bold());
    EXPECT_EQ(PropertyToText(&kinds, property), "1|clWindowText|-16|DejaVu Sans|fpDefault|12|[fsItalic]");
}

TEST(FontConversion, ToAndFromTheFontToPaintWith)
{
    TFont font;
    font.setName(QStringLiteral("DejaVu Sans Mono"));
    font.setSize(10);
    font.setPitch(TFont::fpFixed);
    font.setStyle(TFont::fsBold | TFont::fsUnderline | TFont::fsStrikeOut);
    const QFont painted = font.toQFont();
    EXPECT_EQ(painted.family(), "DejaVu Sans Mono");
    EXPECT_EQ(painted.pixelSize(), 13);
    EXPECT_TRUE(painted.bold());
    EXPECT_FALSE(painted.italic());
    EXPECT_TRUE(painted.underline());
    EXPECT_TRUE(painted.strikeOut());
    EXPECT_TRUE(painted.fixedPitch());

    const TFont back = TFont::fromQFont(painted, clRed);
    EXPECT_EQ(back.name(), font.name());
    EXPECT_EQ(back.height(), font.height());
    EXPECT_EQ(back.style(), font.style());
    EXPECT_EQ(back.pitch(), TFont::fpFixed);
    EXPECT_EQ(back.color(), clRed);

    QFont points(QStringLiteral("DejaVu Sans"));
    points.setPointSize(9);
    EXPECT_EQ(TFont::fromQFont(points).height(), -12);
}

} // namespace
} // namespace harmonet::test
