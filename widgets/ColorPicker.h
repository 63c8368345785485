#pragma once

#include "core/Color.h"

#include <QAbstractButton>

#include <array>

class QColorDialog;

namespace harmonet {

class TColorPalettePopup;

// A button that shows a colour and lets the user choose another: a click (or
// Space) drops down a palette of twenty fixed colours with an "&Other" button
// that opens the colour dialog. colorChange() follows every choice the user
// makes, even of the colour already shown; setting Color from code raises
// nothing. Each picker keeps the sixteen custom colours of its colour dialog
// (8 x 2, white at first) from one opening to the next.
class TColorPicker : public QAbstractButton {
    Q_OBJECT
    Q_PROPERTY(harmonet::TColor Color READ color WRITE setColor)
    Q_PROPERTY(QString Hint READ toolTip WRITE setToolTip)
    Q_PROPERTY(int Tag READ tag WRITE setTag)

public:
    static constexpr int kCustomColorCount = 16;

    explicit TColorPicker(QWidget* parent = nullptr);

    TColor color() const { return m_color; }
    void setColor(TColor color);
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }
    const std::array<TColor, kCustomColorCount>& customColors() const { return m_custom; }

    // Opens the palette below the picker.
    void dropDown();
    // Opens the colour dialog on the current colour; a confirmed colour is taken.
    void chooseOtherColor();
    // The palette drop-down (it exists from the picker's creation on).
    TColorPalettePopup* palettePopup() const { return m_popup; }

    QSize sizeHint() const override;

signals:
    // The user chose a colour (Color already holds it).
    void colorChange();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void takeChoice(TColor color);

    TColor m_color = clBlack;
    int m_tag = 0;
    std::array<TColor, kCustomColorCount> m_custom;
    TColorPalettePopup* m_popup = nullptr;
};

} // namespace harmonet
