#include "persist/Font.h"

#include <cmath>

namespace harmonet {

namespace {

constexpr int kPixelsPerInch = 96;
constexpr int kPointsPerInch = 72;

// value * numerator / denominator, rounded half away from zero.
int scaled(int value, int numerator, int denominator)
{
    const qint64 product = qint64(value) * numerator;
    const qint64 half = denominator / 2;
    const qint64 result = product >= 0 ? (product + half) / denominator
                                       : -((-product + half) / denominator);
    return int(result);
}

} // namespace

void TFont::setName(const QString& name)
{
    if (!name.isEmpty())
        m_name = name;
}

int TFont::size() const
{
    return -scaled(m_height, kPointsPerInch, kPixelsPerInch);
}

void TFont::setSize(int points)
{
    // A size that is already the height's keeps the height: a font of 22
    // pixels is 17 points rounded, and 17 points again would be 23 pixels,
    // so the font would grow by a pixel each time it is saved and loaded.
    if (points != size())
        m_height = -scaled(points, kPixelsPerInch, kPointsPerInch);
}

QFont TFont::toQFont() const
{
    QFont font(m_name);
    if (m_height != 0)
        font.setPixelSize(std::abs(m_height));
    font.setBold(m_style.testFlag(fsBold));
    font.setItalic(m_style.testFlag(fsItalic));
    font.setUnderline(m_style.testFlag(fsUnderline));
    font.setStrikeOut(m_style.testFlag(fsStrikeOut));
    if (m_pitch == fpFixed) {
        font.setFixedPitch(true);
        font.setStyleHint(QFont::TypeWriter);
    } else if (m_pitch == fpVariable) {
        font.setFixedPitch(false);
    }
    return font;
}

TFont TFont::fromQFont(const QFont& font, TColor color)
{
    TFont result;
    result.setName(font.family());
    result.m_color = color;
    if (font.pixelSize() > 0)
        result.m_height = -font.pixelSize();
    else if (font.pointSizeF() > 0)
        result.m_height = -int(std::lround(font.pointSizeF() * kPixelsPerInch / kPointsPerInch));
    TFontStyles style;
    style.setFlag(fsBold, font.bold());
    style.setFlag(fsItalic, font.italic());
    style.setFlag(fsUnderline, font.underline());
    style.setFlag(fsStrikeOut, font.strikeOut());
    result.m_style = style;
    result.m_pitch = font.fixedPitch() ? fpFixed : fpDefault;
    return result;
}

} // namespace harmonet
