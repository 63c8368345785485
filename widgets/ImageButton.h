#pragma once

#include <QPixmap>
#include <QPoint>
#include <QWidget>

namespace harmonet {

// A button that shows a picture (its glyph) instead of a caption, as the
// transport and the count direction of the main window use them.
//
// GroupIndex 0 makes a plain push button: it looks pressed only while the
// mouse holds it and can never be set down. A non-zero GroupIndex makes a
// toggle: a click sets it down (and every other button of the same group in
// the same parent up); a click on a down button releases it only when
// AllowAllUp is on. Setting Down from code never raises clicked(), and changes
// nothing for a plain push button.
//
// The glyph may be a strip of NumGlyphs equal pictures side by side: the
// first is shown normally, the second (when present) while disabled. A
// disabled button without a second picture shows a greyed first picture.
//
// The keyboard reaches the button with Tab (a click does not take the focus);
// Space or Enter then press it as the left mouse button does: down while the
// key is held, a click when it is let go. The focused button shows a focus frame.
class TImageButton : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QPixmap Glyph READ glyph WRITE setGlyph)
    Q_PROPERTY(int NumGlyphs READ numGlyphs WRITE setNumGlyphs)
    Q_PROPERTY(int GroupIndex READ groupIndex WRITE setGroupIndex)
    Q_PROPERTY(bool AllowAllUp READ allowAllUp WRITE setAllowAllUp)
    Q_PROPERTY(bool Down READ isDown WRITE setDown)
    Q_PROPERTY(bool Flat READ isFlat WRITE setFlat)
    Q_PROPERTY(QString Hint READ toolTip WRITE setToolTip)
    Q_PROPERTY(int Tag READ tag WRITE setTag)

public:
    explicit TImageButton(QWidget* parent = nullptr);

    QPixmap glyph() const { return m_glyph; }
    void setGlyph(const QPixmap& glyph);
    int numGlyphs() const { return m_numGlyphs; }
    // Limited to 1..4, the pictures a strip can hold.
    void setNumGlyphs(int count);
    int groupIndex() const { return m_groupIndex; }
    // A down button that joins a group releases the group's other buttons.
    void setGroupIndex(int group);
    bool allowAllUp() const { return m_allowAllUp; }
    // Shared by the whole group: every button of the group takes the new value.
    void setAllowAllUp(bool allow);
    bool isDown() const { return m_down; }
    void setDown(bool down);
    bool isFlat() const { return m_flat; }
    void setFlat(bool flat);
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

    // The picture shown in the current state (normal or disabled).
    QPixmap shownPicture() const;
    // Whether the button is drawn sunken now: down, or held by the mouse or a key.
    bool looksPressed() const;
    // A whole press and release, as a click or Space does (for assistive tools).
    void click();

    QSize sizeHint() const override;

signals:
    // A completed click: the left button released over the button.
    void clicked();
    // Any mouse button pressed or released on the button, at a client position.
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    // The Down state changed, by a click, from code or by a mate of the group.
    void downChanged(bool down);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // The left button's press and release, as the mouse or a key gives them.
    void press(Qt::KeyboardModifiers modifiers, QPoint position);
    void release(Qt::KeyboardModifiers modifiers, QPoint position, bool isClick);
    // The other buttons of this button's group under the same parent.
    QList<TImageButton*> groupMates() const;
    // This button went down: the rest of its group goes up and shares its AllowAllUp.
    void releaseGroupMates();

    QPixmap m_glyph;
    int m_numGlyphs = 1;
    int m_groupIndex = 0;
    bool m_allowAllUp = false;
    bool m_down = false;
    bool m_flat = false;
    int m_tag = 0;
    bool m_dragging = false;   // the left button went down here and is still held
    bool m_mouseInside = false;
    int m_heldKey = 0;         // Space or Enter holds the button down
};

} // namespace harmonet
