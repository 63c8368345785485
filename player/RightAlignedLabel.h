#pragma once

#include <QLabel>

namespace harmonet {

// A label that sizes itself to its text and keeps its right edge where it is,
// growing and shrinking to the left: the highlighted syllable of the
// scrolling lyrics, which must end exactly where the text beneath it ends.
class TRightAlignedLabel : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ text WRITE setCaption)

public:
    // rightEdge is the x (in the parent) just right of the label's last pixel.
    TRightAlignedLabel(QWidget* parent, int rightEdge, int top);

    void setCaption(const QString& text);
    int rightEdge() const { return m_rightEdge; }
    void setRightEdge(int rightEdge);

protected:
    void changeEvent(QEvent* event) override;

private:
    void fitToText();

    int m_rightEdge;
};

} // namespace harmonet
