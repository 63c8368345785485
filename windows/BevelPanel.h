#pragma once

#include "core/Color.h"
#include "persist/Font.h"
#include "widgets/ControlTypes.h"

#include <QLabel>

namespace harmonet {

// A captioned panel with an outer and an inner bevel (each none, lowered or
// raised), an optional single-line border, a background colour and a font of
// its own whose colour is the caption's colour. Font, Caption and Color are
// published so that the settings can keep them. Any mouse button pressed on
// the panel raises mouseDown with the pointer's screen position; a panel that
// takes the focus raises it too for Space, Return or Alt+Down, with the
// position below its left edge, so that what a click opens opens from the keyboard.
class TBevelPanel : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    Q_PROPERTY(harmonet::TColor Color READ color WRITE setColor)
    Q_PROPERTY(harmonet::TFont Font READ panelFont WRITE setPanelFont)
    Q_PROPERTY(int Tag READ tag WRITE setTag)

public:
    explicit TBevelPanel(QWidget* parent = nullptr);

    QString caption() const { return text(); }
    void setCaption(const QString& caption) { setText(caption); }

    TColor color() const { return m_color; }
    void setColor(TColor color);
    TFont panelFont() const { return m_font; }
    void setPanelFont(const TFont& font);
    // The caption's colour, which is the font's.
    TColor fontColor() const { return m_font.color(); }
    void setFontColor(TColor color);

    void setBevels(controls::TBevelStyle outer, controls::TBevelStyle inner);
    void setBorderStyle(controls::TBorderStyle border);

    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

signals:
    void mouseDown(const QPoint& globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void applyLook();
    int frameWidthOf() const;

    TColor m_color = clBtnFace;
    TFont m_font;
    controls::TBevelStyle m_outer = controls::bvRaised;
    controls::TBevelStyle m_inner = controls::bvNone;
    controls::TBorderStyle m_border = controls::bsNone;
    int m_tag = 0;
};

} // namespace harmonet
