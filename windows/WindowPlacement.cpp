#include "windows/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace harmonet {

void centreUnlessOnScreen(QWidget& window)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        return;
    }
    const QRect area = screen->geometry();
    const QRect place(window.pos(), window.size());
    const bool fits = place.top() >= 0 && place.left() >= 0 && place.top() + place.height() <= area.height()
        && place.left() + place.width() <= area.width();
    if (!fits) {
        window.move(area.left() + (area.width() - window.width()) / 2,
                    area.top() + (area.height() - window.height()) / 2);
    }
}

} // namespace harmonet
