#pragma once

#include <QImage>

namespace harmonet {

// The program's icon, drawn at any size: two beamed quavers in white on a
// rounded blue square, on a transparent ground. app/desktop/harmonet.svg is
// the same picture for the desktop's icon theme.
QImage programIcon(int size);

} // namespace harmonet
