#pragma once

class QWidget;

namespace harmonet {

// Keeps a window where it is when it lies wholly on the primary screen (top
// and left 0 or more, bottom and right edges within the screen), and centres
// it on that screen otherwise, keeping its size. A first run's stored place
// of -1, -1 is always centred.
void centreUnlessOnScreen(QWidget& window);

} // namespace harmonet
