#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

class QWidget;

namespace harmonet::test {

// The widget as it paints itself, in a 32-bit image one pixel per pixel.
QImage renderWidget(QWidget& widget);

// The smallest rectangle holding every pixel of the area that is not the
// background colour; empty when there is none.
QRect inkBounds(const QImage& image, const QRect& area, const QColor& background);

// Where the ink of a text lies relative to the top-left corner of its text
// cell when drawn in the given font (so a cell drawn at (x, y) inks
// inkOffset.translated(x, y)).
QRect textInkOffset(const QString& text, const QFont& font);

} // namespace harmonet::test
