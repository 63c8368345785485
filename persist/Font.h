#pragma once

#include "core/Color.h"

#include <QFont>
#include <QMetaType>
#include <QObject>
#include <QString>

namespace harmonet {

// A font as a control publishes it and the settings keep it: character set,
// colour, height, face name, pitch, size and style, in that (name) order.
//
// Height and Size are two views of one measure: Height in pixels (negative:
// the character height; positive: the cell height, leading included), Size in
// points at the desktop's nominal 96 pixels per inch. Setting either one sets
// both, so of two settings the later one wins. The face name is never empty:
// an empty name leaves the face as it was.
//
// A control that shows text publishes its font as
//     Q_PROPERTY(harmonet::TFont Font READ ... WRITE ...)
// keeps the TFont it was given, and applies it with toQFont() and the colour
// (toQColor(font.color())) on its palette; a QFont has no colour and no
// character set, which is why the control keeps the TFont itself.
class TFont {
    Q_GADGET
    Q_PROPERTY(int Charset READ charset WRITE setCharset)
    Q_PROPERTY(harmonet::TColor Color READ color WRITE setColor)
    Q_PROPERTY(int Height READ height WRITE setHeight)
    Q_PROPERTY(QString Name READ name WRITE setName)
    Q_PROPERTY(TFontPitch Pitch READ pitch WRITE setPitch)
    Q_PROPERTY(int Size READ size WRITE setSize)
    Q_PROPERTY(TFontStyles Style READ style WRITE setStyle)

public:
    enum TFontPitch { fpDefault, fpVariable, fpFixed };
    Q_ENUM(TFontPitch)

    enum TFontStyle { fsBold = 0x1, fsItalic = 0x2, fsUnderline = 0x4, fsStrikeOut = 0x8 };
    Q_DECLARE_FLAGS(TFontStyles, TFontStyle)
    Q_FLAG(TFontStyles)

    // The character set number that means "the system's default".
    static constexpr int DefaultCharset = 1;

    int charset() const { return m_charset; }
    void setCharset(int charset) { m_charset = charset; }
    TColor color() const { return m_color; }
    void setColor(TColor color) { m_color = color; }
    int height() const { return m_height; }
    void setHeight(int height) { m_height = height; }
    QString name() const { return m_name; }
    void setName(const QString& name);
    TFontPitch pitch() const { return m_pitch; }
    void setPitch(TFontPitch pitch) { m_pitch = pitch; }
    int size() const;
    void setSize(int points);
    TFontStyles style() const { return m_style; }
    void setStyle(TFontStyles style) { m_style = style; }

    // The font to paint with (no colour; the character set has no counterpart).
    QFont toQFont() const;
    // The font's face, height, pitch and style, with the given colour and the
    // default character set.
    static TFont fromQFont(const QFont& font, TColor color = clWindowText);

    friend bool operator==(const TFont&, const TFont&) = default;

private:
    int m_charset = DefaultCharset;
    TColor m_color = clWindowText;
    int m_height = -11;
    QString m_name = QStringLiteral("MS Sans Serif");
    TFontPitch m_pitch = fpDefault;
    TFontStyles m_style;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TFont::TFontStyles)

} // namespace harmonet

Q_DECLARE_METATYPE(harmonet::TFont)
