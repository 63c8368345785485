#pragma once

#include <QColor>
#include <QMetaType>
#include <QString>
#include <span>

namespace harmonet {

// A colour as the program keeps and stores it: 0x00BBGGRR for a plain colour,
// 0x80000000 + n for the desktop's system colour n (button face is 15),
// 0x1FFFFFFF for "no colour" and 0x20000000 for "the control's default".
struct TColor {
    qint32 value = 0;

    friend constexpr bool operator==(TColor, TColor) = default;
};

// One named colour: its identifier (clRed, clBtnFace, ...) and value.
struct ColorIdentifier {
    const char* name;
    qint32 value;
};

// Every colour identifier, in the order in which writing looks them up (the
// first one whose value matches names a colour).
std::span<const ColorIdentifier> colorIdentifiers();

// The identifier's colour, matched without regard to case; false when none.
bool colorFromIdentifier(const QString& identifier, TColor& color);
// The first identifier of a colour, or an empty string when it has none.
QString identifierOfColor(TColor color);

// The colour to paint with: plain colours as they are, system colours from the
// application's palette, "no colour" as transparent, "default" as invalid.
QColor toQColor(TColor color);
// A plain colour (0x00BBGGRR) from a painting colour.
TColor fromQColor(const QColor& color);

inline constexpr TColor clBlack{0x000000};
inline constexpr TColor clRed{0x0000FF};
inline constexpr TColor clLime{0x00FF00};
inline constexpr TColor clWhite{0xFFFFFF};
inline constexpr TColor clBtnFace{qint32(0x8000000F)};
inline constexpr TColor clWindow{qint32(0x80000005)};
inline constexpr TColor clWindowText{qint32(0x80000008)};
inline constexpr TColor clNone{0x1FFFFFFF};
inline constexpr TColor clDefault{0x20000000};

} // namespace harmonet

Q_DECLARE_METATYPE(harmonet::TColor)
