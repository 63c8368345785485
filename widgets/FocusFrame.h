#pragma once

#include <QRect>

class QPainter;
class QWidget;

namespace harmonet {

// Draws the focus mark of a small custom button: a dotted frame inside its
// edge, in the widget's text colour, so the control Tab has reached stands out
// whatever the style draws (or leaves out) for focus.
void drawFocusFrame(QPainter& painter, const QWidget& widget);

} // namespace harmonet
