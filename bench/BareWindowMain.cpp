// harmonet-bench-bare-window: the least a Qt Widgets program does before its
// first window is on screen, the baseline harmonet-bench-startup measures the
// player against.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(640, 480);
    window.show();
    return app.exec();
}
