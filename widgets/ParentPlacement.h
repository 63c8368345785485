#pragma once

#include "widgets/ControlTypes.h"

#include <QRect>
#include <QSize>

class QWidget;

namespace harmonet::controls {

// The place a control with the given alignment takes in its parent's client
// area: alTop and alBottom span the width and keep the control's height, alLeft
// and alRight span the height and keep its width, alClient fills the area, and
// alNone keeps the current place.
QRect alignedGeometry(TAlign align, const QRect& current, const QSize& parentClient);

// The control's position in its parent's tab order (0 = first of the parent's
// child widgets in the focus chain), or -1 when it has no parent.
int tabOrderOf(const QWidget& control);

// Moves the control to the given position in its parent's tab order. A position
// past the end (or negative) makes it the last. Without a parent nothing happens.
void setTabOrderOf(QWidget& control, int position);

} // namespace harmonet::controls
