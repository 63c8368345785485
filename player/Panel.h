#pragma once

#include <QColor>
#include <QLabel>

namespace harmonet {

// A panel: a captioned area with a one-pixel raised or lowered bevel (or none)
// and a background colour of its own. The main window uses panels as track
// panels and, small and clickable, as the Mute and Lyrics buttons, whose look
// (bevel and colour) is their state. A panel given a focus policy is reached
// with Tab, shows a focus frame, and Space or Enter click it.
class TPanel : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)

public:
    enum class Bevel { None, Raised, Lowered };

    explicit TPanel(QWidget* parent = nullptr);

    QString caption() const { return text(); }
    void setCaption(const QString& caption) { setText(caption); }

    Bevel bevel() const { return m_bevel; }
    void setBevel(Bevel bevel);

    // The background colour; an invalid colour means the button face of the palette.
    QColor color() const;
    void setColor(const QColor& color);
    QColor textColor() const;
    void setTextColor(const QColor& color);

    // A click as the mouse or a key gives it (for assistive tools).
    void click() { emit clicked(); }

signals:
    // The left button was pressed and released over the panel.
    void clicked();
    // Any mouse button went down on the panel, at this global position.
    void mouseDown(const QPoint& globalPos);
    // The mouse moved over the panel (also without a button held).
    void mouseMoved();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    Bevel m_bevel = Bevel::Raised;
    bool m_pressed = false;
    int m_heldKey = 0;
};

} // namespace harmonet
